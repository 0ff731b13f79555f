#include "editing/TagPayloadIO.h"

#include "tags/Codex.h"
#include "tags/LooseTagFile.h"
#include "tags/TagOperations.h"

namespace tamber::editing {
using namespace tamber::tags;

int ReadTagPayload(Codex& codex, TagRecord* record, TagHeader& header, const TagPayloadHandler& parse) {
    if (!record) return 0;
    const TagEntry* entry = codex.CurrentEntry(record);
    if (!entry) return 0;
    header = entry->header;
    Result<FILE*> stream = codex.OpenTagData(record);
    if (!stream) return 0;
    const int result = parse(*stream, header);
    codex.CloseTagData(record);
    return result;
}

int WriteTagPayload(Codex& codex, TagRecord* record, TagHeader& header, const TagPayloadHandler& write) {
    if (!record) return 0;
    header = MakeLooseHeader(header, record->group, record->tagid);
    Result<FILE*> stream = BeginTagWrite(codex, record, header);
    if (!stream) return 0;
    const int result = write(*stream, header);
    // A payload written but never committed (a failed flush or rename) is no save.
    if (!FinishTagWrite(codex, record, &header, result != 0)) return 0;
    if (record->localEntry) header = record->localEntry->header;
    return result;
}

base::Result<std::vector<uint8_t>> ReadPayloadBytes(FILE* stream, const TagHeader& header) {
    return ReadTagPayloadBytes(stream, header);
}

}  // namespace tamber::editing
