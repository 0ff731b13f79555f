#include "collections/builder/HighResFolder.h"

#include "collections/CollectionFile.h"
#include "collections/builder/SequenceFolderScan.h"
#include "platform/fs/FolderBounds.h"
#include "tags/TagHeader.h"

namespace tamber::collections::builder {
using namespace tamber::base;

Result<std::string> PrepareHighResFolder(const Collection& collection, const std::string& collectionName,
                                         const std::string& location) {
    const std::string root = location.empty() || location.back() == '/' ? location : location + "/";
    const std::string folder = root + SequenceFolderName(tags::TagFileName(collectionName)) + "/";
    if (Status made = platform::MakeFoldersInside(root, folder); !made) return std::move(made).TakeError();
    for (const Sequence& sequence : collection.sequences) {
        const std::string sub = folder + SequenceFolderName(sequence.name) + "/";
        if (Status made = platform::MakeFoldersInside(root, sub); !made) return std::move(made).TakeError();
    }
    return folder;
}

Result<std::string> PrepareHighResFolder(tags::Codex& codex, tags::TagRecord* record, const std::string& location) {
    Result<std::vector<uint8_t>> data = tags::ReadCurrentTagData(codex, record);
    const tags::TagEntry* entry = codex.CurrentEntry(record);
    Result<std::unique_ptr<Collection>> collection =
        data && entry ? ReadCollection(*data, entry->header.user, false)
                      : Result<std::unique_ptr<Collection>>(Fail("unreadable"));
    if (!collection) return Fail("The specified collection could not be loaded.");
    return PrepareHighResFolder(**collection, entry->header.Name(), location);
}

}  // namespace tamber::collections::builder
