#include "editing/definitions/StructDefinition.h"

#include <cerrno>
#include <cstring>

#include "tags/ByteSwap.h"

namespace tamber::definitions {
using namespace tamber::base;
using namespace tamber::tags;

namespace {

// Why a record could not be read or written: the stream's error, or for a read
// without one, the data running out.
Error RecordFailure(bool reading, const StructDefinition& definition, FILE* stream) {
    std::string reason = "the data ends before its " + std::to_string(definition.Size()) + " bytes";
    if (!reading || std::ferror(stream)) reason = std::strerror(errno ? errno : EIO);
    return Fail(std::string(reading ? "couldn't read" : "couldn't write") + " a '" + definition.Name() +
                "' record: " + reason);
}

}  // namespace

bool StructDefinition::AddMember(std::unique_ptr<StructMember> member) {
    if (member->count < 0 || member->count > kMaxStructSize) return false;
    const int64_t bytes = int64_t(member->elementSize) * member->count;
    if (size_ + bytes > kMaxStructSize) return false;
    member->offset = size_;
    size_ += int(bytes);
    members_.push_back(std::move(member));
    descriptor_.clear();
    return true;
}

const std::vector<uint16_t>& StructDefinition::Descriptor() const {
    if (!descriptor_.empty()) return descriptor_;
    descriptor_.push_back(uint16_t(size_));
    for (const auto& member : members_) {
        // Runs without bytes are left out: the walker stops once the size is covered.
        if (member->ByteSize() == 0) continue;
        descriptor_.push_back(uint16_t(member->count));
        if (member->type == MemberType::Substruct && member->nested) {
            descriptor_.push_back(ByteSwap::kNested);
            const std::vector<uint16_t>& inner = member->nested->Descriptor();
            descriptor_.insert(descriptor_.end(), inner.begin(), inner.end());
        } else {
            descriptor_.push_back(member->swapKind);
        }
    }
    return descriptor_;
}

Status ReadRecord(const StructDefinition& definition, void* buffer, FILE* stream) {
    if (definition.Size() == 0) return Ok();
    if (ReadRecords(buffer, 1, definition.Descriptor().data(), stream) != size_t(definition.Size()))
        return RecordFailure(true, definition, stream);
    return Ok();
}

Status WriteRecord(const StructDefinition& definition, const void* buffer, FILE* stream) {
    if (definition.Size() == 0) return Ok();
    if (WriteRecords(buffer, 1, definition.Descriptor().data(), stream) != size_t(definition.Size()))
        return RecordFailure(false, definition, stream);
    return Ok();
}

void UnpackRecord(const StructDefinition& definition, void* buffer, const void* disk) {
    UnpackRecords(buffer, disk, 1, definition.Descriptor().data());
}

void PackRecord(const StructDefinition& definition, void* disk, const void* buffer) {
    PackRecords(disk, buffer, 1, definition.Descriptor().data());
}

}  // namespace tamber::definitions
