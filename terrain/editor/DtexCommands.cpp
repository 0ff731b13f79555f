#include "terrain/editor/DtexCommands.h"

#include <filesystem>

#include "editing/TagPayloadIO.h"
#include "editing/WindowTagPrompts.h"
#include "platform/Os.h"
#include "tags/TagOperations.h"
#include "terrain/editor/ClipboardPng.h"
#include "terrain/editor/DetailTextureImages.h"
#include "terrain/editor/DtexTag.h"
#include "ui/choosers/FileDialogs.h"
#include "ui/widgets/MessageBoxWindow.h"

namespace tamber::terrain::editor {
using namespace tamber::base;
using namespace tamber::platform;
using namespace tamber::tags;
using namespace tamber::terrain::painting;
using namespace tamber::ui::choosers;
using namespace tamber::ui::widgets;

namespace {

constexpr uint32_t kDtexGroup = FourCC("dtex");

std::string BaseName(const std::string& path) { return std::filesystem::path(path).stem().string(); }

}  // namespace

TagEdit* CreateDetailTextureTag(const std::string& name, const DetailTexture& texture) {
    Result<std::vector<uint8_t>> payload = WriteDetailTexture(texture);
    if (!payload) {
        MessageBox("Error", payload.error().c_str(), {"OK"});
        return nullptr;
    }
    Codex& codex = Codex::Instance();
    Result<NewTag> created = CreateTagAsking(codex, ProgramTagPrompts(), kDtexGroup, std::nullopt, name);
    if (!created)
        return nullptr;  // refused, or reported by the tag operations
    TagHeader header = created->header;
    const int written = WriteTagPayload(codex, created->record, header, [&](FILE* stream, const TagHeader&) {
        return std::fwrite(payload->data(), 1, payload->size(), stream) == payload->size() ? 1 : 0;
    });
    if (!written) {
        codex.DestroyRecordIfUnused(created->record);
        MessageBox("Error", "The save operation could not be completed.", {"OK"});
        return nullptr;
    }
    // A texture already open elsewhere under this record shows the new pixels.
    if (auto* open = static_cast<DtexTag*>(DtexTags().Find(created->record)))
        open->SetPixels(texture);
    return OpenTagEditor(created->record);
}

void NewDetailTextureFromImageFile() {
    std::string path;
    if (!OpenFileOfKind(kFileKindImage, "Import Detail Texture", path))
        return;
    Result<DetailTexture> texture = ImportDetailTexture(path);
    if (!texture) {
        MessageBox("Error", texture.error().c_str(), {"OK"});
        return;
    }
    CreateDetailTextureTag(BaseName(path), *texture);
}

void NewDetailTextureFromClipboard() {
    InstallClipboardPng();
    std::vector<uint8_t> rgb;
    int width = 0, height = 0;
    if (!OsGetClipboardImage(rgb, width, height)) {
        MessageBox("Error", "Could not retrieve an image from the clipboard.", {"OK"});
        return;
    }
    Result<DetailTexture> texture = MakeDetailTexture(std::move(rgb), width, height);
    if (!texture) {
        MessageBox("Error", texture.error().c_str(), {"OK"});
        return;
    }
    std::string name;
    if (MessageBoxWithInput("Enter Name for Detail Texture", name, {"Create Detail Texture", "Cancel"}) != 0)
        return;
    if (name.empty()) {
        MessageBox("Not Created", "You must specify a name.", {"OK"});
        return;
    }
    CreateDetailTextureTag(name, *texture);
}

bool OfferDroppedDetailTexture(const std::string& path) {
    Result<DetailTexture> texture = ImportDetailTexture(path);
    if (!texture)
        return false;
    const std::string name = BaseName(path);
    const std::string text = "Make the image '" + name + "' a new detail texture?";
    if (MessageBox("New Detail Texture", text.c_str(), {"Create", "Cancel"}) == 0)
        CreateDetailTextureTag(name, *texture);
    return true;
}

}  // namespace tamber::terrain::editor
