#include "editing/TagResource.h"

#include "editing/TagPayloadIO.h"
#include "tags/Codex.h"

namespace tamber::editing {
using namespace tamber::tags;

TagResource::TagResource(TagRecord* record) : record_(record) {
    (void)spare_;
    if (record_) Codex::Instance().AttachToTag(record_, kAttachTagResource, this);
}

TagResource::~TagResource() {
    if (record_) Codex::Instance().DetachFromTag(record_, kAttachTagResource, this);
}

int TagResource::Load() {
    const int result = ReadTagPayload(Codex::Instance(), record_, header_,
                                      [this](FILE* stream, const TagHeader& header) { return ParsePayload(stream, header); });
    return result ? 1 : 0;
}

int TagResource::Save() {
    return WriteTagPayload(Codex::Instance(), record_, header_,
                           [this](FILE* stream, const TagHeader& header) { return WritePayload(stream, header); });
}

void TagResource::NotifyContentChanged() {
    if (record_) Codex::Instance().Notify(kCodexTagContentChanged, record_);
}

}  // namespace tamber::editing
