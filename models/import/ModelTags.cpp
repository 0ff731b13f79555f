#include "models/import/ModelTags.h"

#include <cstdio>
#include <span>
#include <vector>

#include "base/MessageLog.h"
#include "collections/CollectionFile.h"
#include "models/import/CollectionReference.h"
#include "models/import/GeometryFromModel.h"
#include "models/import/GeometryPayload.h"
#include "models/import/ModelPayload.h"
#include "models/import/TextureCollection.h"
#include "tags/TagGroups.h"
#include "tags/TagOperations.h"

namespace tamber::models::import {
using namespace tamber::base;
using namespace tamber::collections;
using namespace tamber::tags;

namespace {

// The tags written so far; unless released, its destructor removes the ones
// that did not exist before.
class TagSetWriter {
public:
    TagSetWriter(Codex& codex, const std::string& name, bool allowOverwrite)
        : codex_(codex), name_(name), allowOverwrite_(allowOverwrite) {}
    TagSetWriter(const TagSetWriter&) = delete;
    TagSetWriter& operator=(const TagSetWriter&) = delete;
    ~TagSetWriter();

    Result<TagRecord*> Write(uint32_t group, uint16_t version, uint32_t user, std::span<const uint8_t> payload);
    void Release() { created_.clear(); }

private:
    Codex& codex_;
    const std::string& name_;
    bool allowOverwrite_;
    std::vector<TagRecord*> created_;
};

TagSetWriter::~TagSetWriter() {
    for (TagRecord* record : created_) {
        if (Status removed = DeleteLocalTag(codex_, record); !removed)
            LogMessage(2, "Model Import", "The new tag '%s' could not be removed: %s\n", name_.c_str(),
                       removed.error().c_str());
    }
}

Result<TagRecord*> TagSetWriter::Write(uint32_t group, uint16_t version, uint32_t user,
                                       std::span<const uint8_t> payload) {
    Result<NewTag> made = CreateTag(codex_, group, std::nullopt, name_, allowOverwrite_);
    const std::string what = "the " + TagGroupName(group) + " tag '" + name_ + "'";
    if (!made) return Fail("couldn't create " + what + ": " + made.error());
    TagRecord* record = made->record;
    const bool existed = record->localEntry != nullptr;
    TagHeader header = made->header;
    header.version = version;
    header.user = user;
    Result<FILE*> out = BeginTagWrite(codex_, record, header);
    const bool written = out && std::fwrite(payload.data(), 1, payload.size(), *out) == payload.size();
    Status finished = out ? FinishTagWrite(codex_, record, &header, written) : Status(std::move(out).TakeError());
    if (!finished) {
        if (!existed) codex_.DestroyRecordIfUnused(record);
        return Fail("couldn't write " + what + ": " + finished.error());
    }
    if (!existed) created_.push_back(record);
    return record;
}

}  // namespace

Result<ModelTags> TagsFromModel(Codex& codex, const Model& model, const std::string& name, bool allowOverwrite) {
    Result<Geometry> geometry = GeometryFromModel(model);
    if (!geometry) return std::move(geometry).TakeError();
    Result<Collection> collection = CollectionFromMaterials(model);
    if (!collection) return std::move(collection).TakeError();
    Result<CollectionPayload> textures = WriteCollection(*collection);
    if (!textures) return std::move(textures).TakeError();

    TagSetWriter writer(codex, name, allowOverwrite);
    ModelTags tags;
    Result<TagRecord*> written =
        writer.Write(kCollectionGroupCode, textures->fields.version, textures->fields.user, textures->bytes);
    if (!written) return std::move(written).TakeError();
    tags.collection = *written;

    written = writer.Write(kCollectionReferenceGroup, kCollectionReferenceTagVersion, 0,
                           WriteCollectionReference(tags.collection->tagid));
    if (!written) return std::move(written).TakeError();
    tags.reference = *written;

    geometry->collectionReference = tags.reference->tagid;
    written = writer.Write(kGeometryGroup, kGeometryTagVersion, 0, WriteGeometryPayload(*geometry));
    if (!written) return std::move(written).TakeError();
    tags.geometry = *written;

    written = writer.Write(kModelGroup, kModelTagVersion, 0, WriteModelPayload(*geometry, tags.geometry->tagid));
    if (!written) return std::move(written).TakeError();
    tags.model = *written;
    writer.Release();
    return tags;
}

}  // namespace tamber::models::import
