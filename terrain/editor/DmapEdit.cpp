#include "terrain/editor/DmapEdit.h"

#include "tags/LooseTagFile.h"
#include "tags/Codex.h"
#include "terrain/editor/DetailMapListing.h"
#include "ui/widgets/TextBox.h"

namespace tamber::terrain::editor {
using namespace tamber::base;
using namespace tamber::tags;
using namespace tamber::terrain;
using namespace tamber::terrain::painting;

DmapEdit::DmapEdit(TagRecord* record) : TagEdit(record), text_(new TextBox(TextBox::kModeReadOnly, this)) {
    SetFrameXYWH(0, 0, kSize, kSize);
    SetFocusChild(text_);
    OnResize();
}

TagEdit* DmapEdit::Create(TagRecord* record) { return new DmapEdit(record); }

void DmapEdit::OnResize() { text_->SetFrameXYWH(0, 0, Client().Width(), Client().Height()); }

int DmapEdit::ParsePayload(FILE* stream, const TagHeader& header) {
    Result<std::vector<uint8_t>> payload = ReadTagPayloadBytes(stream, header);
    if (!payload)
        return 0;
    Result<DetailMap> map = LoadDetailMap(*payload, header.version);
    if (!map)
        return 0;
    payload_ = std::move(*payload);
    text_->SetText(DetailMapListing(*map, DetailTextureName));
    return 1;
}

int DmapEdit::WritePayload(FILE* stream, const TagHeader&) {
    return std::fwrite(payload_.data(), 1, payload_.size(), stream) == payload_.size() ? 1 : 0;
}

std::optional<std::string> DetailTextureName(uint32_t tagid) {
    Codex& codex = Codex::Instance();
    const TagEntry* entry = codex.CurrentEntry(codex.FindTag(FourCC("dtex"), tagid));
    if (!entry)
        return std::nullopt;
    return entry->header.Name();
}

}  // namespace tamber::terrain::editor
