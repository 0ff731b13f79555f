#pragma once
// The viewer of a detail map (`dmap`): a read-only list of its materials' detail
// textures. Saving writes the payload back as it was read.
#include <optional>
#include <string>
#include <vector>

#include "editing/TagEdit.h"

namespace tamber::ui::widgets { class TextBox; }

namespace tamber::terrain::editor {
using namespace tamber::editing;
using namespace tamber::ui::widgets;

class DmapEdit : public TagEdit {
public:
    static constexpr int kSize = 500;

    explicit DmapEdit(TagRecord* record);

    const char* GetClassName() const override { return "DmapEdit"; }
    void OnResize() override;
    int ParsePayload(FILE* stream, const TagHeader& header) override;
    int WritePayload(FILE* stream, const TagHeader& header) override;

    TextBox* Text() const { return text_; }

    static TagEdit* Create(TagRecord* record);

private:
    TextBox* text_;
    std::vector<uint8_t> payload_;
};

// The name of the current `dtex` tag of a tagid, for listings.
std::optional<std::string> DetailTextureName(uint32_t tagid);

}  // namespace tamber::terrain::editor
