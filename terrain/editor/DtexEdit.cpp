#include "terrain/editor/DtexEdit.h"

#include <GL/gl.h>

#include <algorithm>

#include "platform/Os.h"
#include "terrain/editor/ClipboardPng.h"
#include "terrain/editor/DetailTextureImages.h"
#include "terrain/editor/DtexTag.h"
#include "ui/DrawBatch.h"
#include "ui/WindowSystem.h"
#include "ui/choosers/FileDialogs.h"
#include "ui/widgets/Menu.h"
#include "ui/widgets/MessageBoxWindow.h"

namespace tamber::terrain::editor {
using namespace tamber::base;
using namespace tamber::platform;
using namespace tamber::terrain::painting;
using namespace tamber::ui::choosers;
using namespace tamber::ui::widgets;

namespace {

enum Command { kExport = 1, kImport, kCopy, kPaste, kSave, kCenterRgb, kCenterLuma };

}  // namespace

DtexEdit::DtexEdit(TagRecord* record) : TagEdit(record) {
    SetFlags(kStyleFocusable);
    SetFrameXYWH(0, 0, 256, 256);
}

DtexEdit::~DtexEdit() {
    if (dtex_)
        DtexTags().Release(dtex_);
}

TagEdit* DtexEdit::Create(TagRecord* record) { return new DtexEdit(record); }

int DtexEdit::ParsePayload(FILE* stream, const TagHeader& header) {
    if (!dtex_) {
        // The first read shares the open texture (loaded by the manager if no one holds it).
        dtex_ = Record() ? DtexTags().Acquire(Record()) : nullptr;
        if (!dtex_)
            return 0;
    } else {
        if (!dtex_->ParsePayload(stream, header))
            return 0;
        DetailTexture texture = dtex_->Pixels();
        if (WS().GetModifiers() & kModShift)
            ShiftHalf(texture);
        dtex_->SetPixels(std::move(texture));
    }
    FitToImage();
    return 1;
}

int DtexEdit::WritePayload(FILE* stream, const TagHeader& header) { return dtex_ ? dtex_->WritePayload(stream, header) : 0; }

// A new tag (made through the base's BindNewTag) has no file yet: it starts with the default image.
int DtexEdit::DiscardChanges() {
    if (dtex_ && !Load())
        dtex_->MakeDefaultImage();
    return 1;
}

void DtexEdit::OnClose() {
    if (dtex_)
        DtexTags().Release(dtex_);
    dtex_ = nullptr;
    TagEdit::OnClose();
}

void DtexEdit::FitToImage() {
    const DetailTexture& texture = dtex_->Pixels();
    const int width = std::min(int(texture.width), kMaxView), height = std::min(int(texture.height), kMaxView);
    const Rect frame = Frame();
    // The frame grows by the border and title around the client area.
    SetSize(width + frame.Width() - Client().Width(), height + frame.Height() - Client().Height());
    Invalidate();
}

void DtexEdit::Draw() {
    FlushDrawing();
    glColor4ub(40, 40, 40, 255);
    glRecti(0, 0, Client().Width(), Client().Height());
    const uint32_t texture = dtex_ ? dtex_->Upload() : 0;
    if (!texture)
        return;
    const int w = int(dtex_->Pixels().width), h = int(dtex_->Pixels().height);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glColor4ub(255, 255, 255, 255);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0), glVertex2i(0, 0);
    glTexCoord2f(1, 0), glVertex2i(w, 0);
    glTexCoord2f(1, 1), glVertex2i(w, h);
    glTexCoord2f(0, 1), glVertex2i(0, h);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

bool DtexEdit::OnKey(Event& event) {
    if (event.Pressed() && (event.Modifiers() & kModCtrl)) {
        switch (event.Key()) {
        case 'E': Export(); return true;
        case 'I': Import(); return true;
        case 'C':
        case 'X': Copy(); return true;
        case 'V': Paste(); return true;
        default: break;
        }
    }
    return TagEdit::OnKey(event);
}

void DtexEdit::OnMouseButton(Event& event) {
    if (!event.ButtonPressed() || event.Button() != 1)
        return;
    auto* menu = new Menu(false);
    AddMenuItem(menu, "Export (Cmd-E)", nullptr, kExport, true);
    AddMenuItem(menu, "Import (Cmd-I)", nullptr, kImport, true);
    AddMenuItem(menu, "Copy (Cmd-C)", nullptr, kCopy, true);
    AddMenuItem(menu, "Paste (Cmd-V)", nullptr, kPaste, true);
    AddMenuItem(menu, "Save Tag (Cmd-S)", nullptr, kSave, true);
    AddMenuItem(menu, "Mean Center rgb", nullptr, kCenterRgb, true);
    AddMenuItem(menu, "Mean Center luma", nullptr, kCenterLuma, true);
    const int command = PopupMenu(menu, WS().GetMousePosition());
    menu->Close();
    switch (command) {
    case kExport: Export(); break;
    case kImport: Import(); break;
    case kCopy: Copy(); break;
    case kPaste: Paste(); break;
    case kSave: SaveNow(); break;
    case kCenterRgb: MeanCenter(false); break;
    case kCenterLuma: MeanCenter(true); break;
    default: break;
    }
}

bool DtexEdit::OnFilesDropped(const std::vector<std::string>& paths) {
    if (paths.empty())
        return false;
    ImportFile(paths.front());
    return true;
}

void DtexEdit::Replace(DetailTexture texture) {
    dtex_->SetPixels(std::move(texture));
    SetModified(1);
    FitToImage();
}

void DtexEdit::Import() {
    std::string path;
    if (OpenFileOfKind(kFileKindImage, "Import Detail Texture", path))
        ImportFile(path);
}

bool DtexEdit::ImportFile(const std::string& path) {
    Result<DetailTexture> texture = ImportDetailTexture(path);
    if (!texture) {
        MessageBox("Error", texture.error().c_str(), {"OK"});
        return false;
    }
    Replace(std::move(*texture));
    return true;
}

void DtexEdit::Export() {
    std::string path = TagName();
    if (!SaveFileOfKind(kFileKindImage, "Export Detail Texture", path))
        return;
    if (Status written = ExportDetailTexture(dtex_->Pixels(), path); !written)
        MessageBox("Error", written.error().c_str(), {"OK"});
}

void DtexEdit::Copy() {
    InstallClipboardPng();
    const DetailTexture& texture = dtex_->Pixels();
    if (!OsSetClipboardImage(texture.pixels.data(), int(texture.width), int(texture.height)))
        OsBeep();
}

void DtexEdit::Paste() {
    InstallClipboardPng();
    std::vector<uint8_t> rgb;
    int width = 0, height = 0;
    if (!OsGetClipboardImage(rgb, width, height)) {
        OsBeep();
        return;
    }
    Result<DetailTexture> texture = MakeDetailTexture(std::move(rgb), width, height);
    if (!texture) {
        MessageBox("Error", texture.error().c_str(), {"OK"});
        return;
    }
    Replace(std::move(*texture));
}

void DtexEdit::MeanCenter(bool luma) {
    DetailTexture texture = dtex_->Pixels();
    luma ? MeanCenterLuma(texture) : MeanCenterRgb(texture);
    Replace(std::move(texture));
}

}  // namespace tamber::terrain::editor
