#include "terrain/editor/MeshEdit.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "editing/TagPayloadIO.h"
#include "tags/LooseTagFile.h"
#include "platform/Os.h"
#include "tags/Codex.h"
#include "tags/FourCC.h"
#include "tags/TagOperations.h"
#include "terrain/HighlightColors.h"
#include "terrain/editor/BrushScaleAction.h"
#include "terrain/editor/BrushStrokeAction.h"
#include "terrain/editor/DtexTag.h"
#include "terrain/editor/FloodFillAction.h"
#include "ui/DrawBatch.h"
#include "ui/Font.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/ListWindow.h"
#include "ui/widgets/MessageBoxWindow.h"

namespace tamber::terrain::editor {
using namespace tamber::base;
using namespace tamber::platform;
using namespace tamber::tags;
using namespace tamber::ui::widgets;

namespace {

constexpr uint32_t kDetailMapGroup = FourCC("dmap");
constexpr int kKeyF3 = 100, kKeyF6 = 103, kKeyF7 = 104;
constexpr int kMaxTicksPerFrame = 10;

const char* OnOff(bool on) { return on ? "ON" : "OFF"; }

}  // namespace

MeshEdit::MeshEdit(TagRecord* record) : TagEdit(record) {
    SetFlags(kStyleFocusable);
    palette_ = new ListWindow(0, kStyleControl, this);
    palette_->SetName("Brush List");
    palette_->selectionChanged.Connect(this, &MeshEdit::OnPaletteSelection);
    palette_->deleteRequested.Connect(this, &MeshEdit::OnPaletteDelete);
    palette_->activated.Connect(this, &MeshEdit::OnPaletteActivated);
    for (int i = 0; i < kDetailMaterialCount; ++i)
        palette_->AddListItem(nullptr, RowId(i + 1), 0, "");
    palette_->SetVisible(false);
    SetFrameXYWH(0, 0, 800, 600);
}

MeshEdit::~MeshEdit() {
    for (Material& material : materials_)
        if (material.texture) DtexTags().Release(material.texture);
}

TagEdit* MeshEdit::Create(TagRecord* record) { return new MeshEdit(record); }

void MeshEdit::OnClose() {
    for (Material& material : materials_) {
        if (material.texture) DtexTags().Release(material.texture);
        material.texture = nullptr;
    }
    renderer_.reset();
    TagEdit::OnClose();
}

void MeshEdit::OnResize() {
    palette_->SetFrameXYWH(Client().Width() - kPaletteWidth, 0, kPaletteWidth, Client().Height());
}

int MeshEdit::ParsePayload(FILE* stream, const TagHeader& header) {
    Result<std::vector<uint8_t>> bytes = ReadTagPayloadBytes(stream, header);
    Result<Mesh> mesh = bytes ? LoadMesh(*bytes, header.version) : std::move(bytes).TakeError();
    if (!mesh)
        return 0;
    Result<MeshDocument> document = OpenMeshDocument(Codex::Instance(), std::move(*mesh));
    if (!document)
        return 0;
    document_ = std::move(*document);
    renderer_.reset();
    history_.Clear();
    position_.Reset();
    colours_ = LoadHighlightColors();
    for (Material& material : materials_)
        material.entry = DetailMaterial{kNoDetailTexture, 127, 0, 0, 0, {}};
    if (!document_.mismatchedMapName.empty()) {
        char text[600];
        std::snprintf(text, sizeof text,
                      "WARNING: A the dmap tag %s (%s) matches this color map, but its dimensions do not match. If you "
                      "edit and save the dmap on this mesh, it will overwrite the existing file, and the meshes which "
                      "used that dmap will no longer have working detail textures.",
                      document_.mismatchedMapName.c_str(), FourCCText(document_.mesh.colourMap).c_str());
        MessageBox("dmap tagid conflict detected", text, {"OK"});
    }
    if (document_.detailMap && painter_.Load(*document_.detailMap, document_.mesh.width, document_.mesh.height)) {
        for (size_t i = 0; i < materials_.size(); ++i) {
            const DetailMaterial& entry = document_.detailMap->materials[i];
            materials_[i].entry = entry;
            colours_[i * 3] = entry.red, colours_[i * 3 + 1] = entry.green, colours_[i * 3 + 2] = entry.blue;
        }
        details_ = true;
        tool_ = Tool::kDetailMap;
    }
    document_.detailMap.reset();
    ReloadMaterials();
    ShowPalette(tool_ == Tool::kDetailMap);
    return 1;
}

// The mesh is never written: saving writes the detail map of the colour map's tagid.
int MeshEdit::Save() {
    if (!painter_.Exists())
        return 0;
    std::array<DetailMaterial, kDetailMaterialCount> entries;
    for (size_t i = 0; i < entries.size(); ++i) entries[i] = materials_[i].entry;
    Result<std::vector<uint8_t>> payload = SaveDetailMap(MakeSavedDetailMap(painter_.MakeMap(), entries, colours_));
    if (!payload)
        return 0;
    Codex& codex = Codex::Instance();
    TagRecord* record = codex.FindTag(kDetailMapGroup, document_.mesh.colourMap);
    TagHeader header{};
    if (record) {
        header = codex.CurrentEntry(record)->header;
    } else {
        Result<NewTag> created = CreateTag(codex, kDetailMapGroup, document_.mesh.colourMap, document_.colourMapName, false);
        if (!created)
            return 0;
        record = created->record, header = created->header;
    }
    header.version = kDetailMapTagVersion;
    const int written = WriteTagPayload(codex, record, header, [&](FILE* stream, const TagHeader&) {
        return std::fwrite(payload->data(), 1, payload->size(), stream) == payload->size() ? 1 : 0;
    });
    if (!written)
        codex.DestroyRecordIfUnused(record);
    else
        position_.Saved();
    return written;
}

void MeshEdit::SetTool(Tool tool) {
    if (tool == Tool::kDetailMap && !painter_.Exists())
        return;
    tool_ = tool;
    ShowPalette(tool_ == Tool::kDetailMap);
    InvalidateClient();
}

void MeshEdit::SetHighlighting(bool on) {
    highlighting_ = on;
    if (renderer_) renderer_->MarkAll();
    InvalidateClient();
}

void MeshEdit::SetCurrentMaterial(int material) {
    material_ = std::clamp(material, 0, kMaxMaterial);
    InvalidateClient();
}

PaintValue MeshEdit::CurrentPaint() const {
    static thread_local MaterialLocks locks;
    locks.reset();
    for (size_t i = 0; i < materials_.size(); ++i) locks.set(i, materials_[i].locked);
    return PaintValue{material_, &locks, (pressModifiers_ & kModShift) != 0};
}

std::array<bool, 128> MeshEdit::HighlightFlags() const {
    std::array<bool, 128> flags{};
    for (size_t i = 0; i < materials_.size(); ++i) flags[i] = materials_[i].highlighted;
    return flags;
}

void MeshEdit::DetailChanged(BrushMode mode, const GridRect& rect) {
    if (renderer_) {
        const int scale = mode == BrushMode::kTriangle ? 2 : 1;
        renderer_->MarkCells(rect.x0 / scale - 1, rect.y0 - 1, (rect.x1 - 1) / scale + 1, rect.y1);
    }
    InvalidateClient();
}

void MeshEdit::AfterWholeMapChange() {
    if (renderer_) renderer_->MarkAll();
    ChangedOutsideHistory();
    InvalidateClient();
}

void MeshEdit::ChangedOutsideHistory() {
    position_.ChangedOutside();
    SetModified(1);
}

void MeshEdit::AddAction(std::unique_ptr<UndoableAction> action) {
    if (history_.AddAction(std::move(action), true))
        position_.Added();
    SetModified(position_.Modified() ? 1 : 0);
}

// ---- Strokes and fills ----

void MeshEdit::BeginStroke(int modifiers) {
    pressModifiers_ = modifiers;
    if (tool_ != Tool::kDetailMap || !painter_.Exists())
        return;
    painter_.BeginStroke(brush_.mode);
    brushMoved_ = true;
}

void MeshEdit::StrokeTo(double x, double z) {
    if (!painter_.StrokeActive())
        return;
    const GridRect range = painter_.Paint(brush_, x, z, CurrentPaint());
    if (!range.Empty()) {
        DetailChanged(brush_.mode, range);
        SetModified(1);  // the stroke in progress; settled by EndStroke
    }
}

void MeshEdit::EndStroke() {
    if (std::optional<StrokeRecord> stroke = painter_.EndStroke())
        AddAction(std::make_unique<BrushStrokeAction>(*this, std::move(*stroke)));
    else
        SetModified(position_.Modified() ? 1 : 0);
}

void MeshEdit::FillAt(double x, double z) {
    if (tool_ != Tool::kDetailMap || !painter_.Exists())
        return;
    const uint8_t value = CurrentPaint().Value();
    if (std::optional<FillRecord> fill = painter_.Fill(brush_.mode, x, z, value)) {
        const GridRect bounds = fill->bounds;
        AddAction(std::make_unique<FloodFillAction>(*this, brush_.mode, std::move(*fill)));
        DetailChanged(brush_.mode, bounds);
    }
}

bool MeshEdit::Undo() {
    if (painter_.StrokeActive() || !history_.Undo())
        return false;
    position_.Undone();
    SetModified(position_.Modified() ? 1 : 0);
    return true;
}

bool MeshEdit::Redo() {
    if (painter_.StrokeActive() || !history_.Redo())
        return false;
    position_.Redone();
    SetModified(position_.Modified() ? 1 : 0);
    return true;
}

// ---- Ticks, keys and mouse ----

void MeshEdit::Idle() {
    const double now = OsGetTime();
    if (tickClock_ < 0)
        tickClock_ = now;
    const int due = int((now - tickClock_) * kTicksPerSecond);
    if (due <= 0)
        return;
    tickClock_ += double(due) / kTicksPerSecond;
    for (int i = 0; i < std::min(due, kMaxTicksPerFrame); ++i)
        Tick();
}

void MeshEdit::Tick() {
    ++ticks_;
    bool changed = false;
    WindowSystem& ws = WS();
    if (cameraAwake_ && IsFocused() && !(ws.GetModifiers() & kModCtrl)) {
        CameraKeys keys;
        keys.forward = ws.IsKeyDown('W'), keys.back = ws.IsKeyDown('S');
        keys.right = ws.IsKeyDown('X'), keys.left = ws.IsKeyDown('Z');
        keys.climb = ws.IsKeyDown('C'), keys.dive = ws.IsKeyDown('V');
        keys.yawLeft = ws.IsKeyDown('A'), keys.yawRight = ws.IsKeyDown('D');
        keys.orbitLeft = ws.IsKeyDown('Q'), keys.orbitRight = ws.IsKeyDown('E');
        keys.pitchUp = ws.IsKeyDown('O'), keys.pitchDown = ws.IsKeyDown('P');
        if (keys.Any()) {
            camera_.Tick(keys);
            UpdateBrushPosition();
            changed = true;
        }
    }
    if (animation_ && renderer_) {
        renderer_->MarkAnimated();
        changed = true;
    }
    if (leftDown_ && tool_ == Tool::kDetailMap && painter_.Exists() && brushPosition_) {
        if (fillPending_) {
            fillPending_ = false;
            FillAt((*brushPosition_)[0], (*brushPosition_)[1]);
        } else if (brushMoved_) {
            StrokeTo((*brushPosition_)[0], (*brushPosition_)[1]);
        }
        brushMoved_ = false;
    }
    if (changed)
        InvalidateClient();
}

void MeshEdit::UpdateBrushPosition() {
    const std::optional<std::array<double, 2>> before = brushPosition_;
    brushPosition_.reset();
    const int w = ViewWidth(), h = Client().Height();
    if (mouse_.x >= 0 && mouse_.y >= 0 && mouse_.x < w && mouse_.y < h && w > 0 && h > 0) {
        const double ndcX = (mouse_.x + 0.5) / w * 2 - 1, ndcY = 1 - (mouse_.y + 0.5) / h * 2;
        const std::array<double, 3> ray = camera_.Ray(ndcX, ndcY, w, h);
        brushPosition_ = PickGround(document_.mesh, {camera_.x, camera_.y, camera_.z}, ray);
    }
    if (brushPosition_ != before) {
        brushMoved_ = true;
        if (tool_ == Tool::kDetailMap) InvalidateClient();
    }
}

bool MeshEdit::OnKey(Event& event) {
    if (!event.Pressed())
        return false;
    cameraAwake_ = true;
    if (painter_.StrokeActive())
        return true;
    const int key = event.Key();
    const bool ctrl = (event.Modifiers() & kModCtrl) != 0;
    if (ctrl) {
        if (key == 'Z') return Undo(), true;
        if (key == 'Y') return Redo(), true;
        return TagEdit::OnKey(event);
    }
    const bool painting = tool_ == Tool::kDetailMap;
    switch (key) {
    case '`': info_ = !info_; break;
    case kKeyF1: wireframe_ = !wireframe_; break;
    case kKeyF2:
        if (painter_.Exists()) details_ = !details_;
        break;
    case kKeyF6:
        animation_ = !animation_;
        if (renderer_) renderer_->MarkAnimated();
        break;
    case kKeyF7:
        highlightMode_ = NextHighlightMode(highlightMode_);
        if (renderer_) renderer_->MarkAll();
        break;
    default:
        if (!painting)
            return std::string_view("WSXZCVADQEOP").find(char(key)) != std::string_view::npos;
        switch (key) {
        case '-':
        case '=': {
            const int before = materials_[size_t(material_)].entry.Scale();
            const int after = std::clamp(before + (key == '=' ? 1 : -1), 1, 256);
            if (after == before) break;
            SetBrushScale(material_, after);
            auto* held = event.IsRepeat() ? dynamic_cast<BrushScaleAction*>(history_.Current()) : nullptr;
            if (held && held->Material() == material_)
                held->SetAfter(after);
            else
                AddAction(std::make_unique<BrushScaleAction>(*this, material_, before, after));
            break;
        }
        case '[': brush_.radius = ClampRadius(brush_.radius - Brush::kRadiusStep); break;
        case ']': brush_.radius = ClampRadius(brush_.radius + Brush::kRadiusStep); break;
        case kKeyF3:
            SetHighlighting(!highlighting_);
            if (event.Modifiers() & kModShift) {
                for (int i = 0; i < kDetailMaterialCount; ++i) {
                    materials_[size_t(i)].highlighted = highlighting_;
                    RefreshPaletteRow(i);
                }
            }
            break;
        case kKeyF4: brush_.shape = brush_.shape == BrushShape::kRound ? BrushShape::kSquare : BrushShape::kRound; break;
        case kKeyF5:
            brush_.mode = brush_.mode == BrushMode::kVertex ? BrushMode::kTriangle : BrushMode::kVertex;
            if (renderer_) renderer_->MarkAll();
            break;
        case kKeyTab: ShowPalette(!PaletteShown()); break;
        default: return std::string_view("WSXZCVADQEOP").find(char(key)) != std::string_view::npos;
        }
    }
    InvalidateClient();
    return true;
}

void MeshEdit::OnMouseMove(Event& event) {
    mouse_ = {event.Position().x - Client().left, event.Position().y - Client().top};
    UpdateBrushPosition();
}

void MeshEdit::OnMouseButton(Event& event) {
    mouse_ = {event.Position().x - Client().left, event.Position().y - Client().top};
    WS().SetFocus(this, kFocusByMouse);
    if (event.Button() == 1 && event.ButtonPressed()) {
        ShowMenu(event.Position());
        return;
    }
    if (event.Button() != 0)
        return;
    if (event.ButtonPressed()) {
        UpdateBrushPosition();
        leftDown_ = true;
        fillPending_ = (event.Modifiers() & kModAlt) != 0;
        if (fillPending_)
            pressModifiers_ = event.Modifiers();
        else
            BeginStroke(event.Modifiers());
        brushMoved_ = true;
        Tick();  // the press paints at once
    } else {
        leftDown_ = false;
        fillPending_ = false;
        EndStroke();
    }
}

void MeshEdit::OnWheel(Event& event) {
    const int delta = WS().WheelDelta(false);
    brush_.radius = ClampRadius(brush_.radius - Brush::kRadiusStep * delta);
    (void)event;
    InvalidateClient();
}

// ---- Drawing ----

MeshDrawSettings MeshEdit::DrawSettings() {
    MeshDrawSettings settings;
    if (painter_.Exists()) {
        settings.vertex = &painter_.Working(BrushMode::kVertex);
        settings.triangle = &painter_.Working(BrushMode::kTriangle);
    }
    settings.details = details_ && painter_.Exists();
    settings.wireframe = wireframe_;
    static thread_local std::array<bool, 128> flags;
    flags = HighlightFlags();
    settings.highlightInput = {highlightMode_, brush_.mode, settings.vertex, settings.triangle, &flags, &colours_};
    settings.highlight = highlighting_ && painter_.Exists() &&
                         (highlightMode_ != HighlightMode::kTextureIndex ||
                          std::any_of(flags.begin(), flags.end(), [](bool b) { return b; }));
    if (animation_) settings.placement = {&document_.wave, ticks_};
    // The view mirrors map x; its y is already in cells.
    settings.eye = {-camera_.x, camera_.y, camera_.z};
    // Material 0 stands for no detail; the others' textures are uploaded when first drawn.
    settings.texture = [this](int material) {
        DtexTag* texture = materials_[size_t(material & 127)].texture;
        return texture ? texture->Upload() : 0u;
    };
    for (size_t i = 1; i < materials_.size(); ++i) {
        DtexTag* texture = materials_[i].texture;
        if (!texture) continue;
        const DetailTexture& pixels = texture->Pixels();
        const float scale = float(materials_[i].entry.Scale());
        if (pixels.width && pixels.height)
            settings.scales[i] = {scale / float(pixels.width), scale / float(pixels.height)};
    }
    return settings;
}

int MeshEdit::ViewWidth() const {
    return std::max(0, Client().Width() - (palette_->IsVisible() ? kPaletteWidth : 0));
}

void MeshEdit::Draw() {
    const int w = ViewWidth(), h = Client().Height();
    FlushDrawing();
    glColor4ub(0, 0, 0, 255);
    glRecti(0, 0, Client().Width(), h);
    if (w <= 0 || h <= 0)
        return;
    if (!renderer_ && document_.colourMap)
        renderer_ = std::make_unique<MeshRenderer>(document_.mesh, *document_.colourMap);
    // The toolkit's drawing state (blending, textures) is restored afterwards.
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    glClear(GL_DEPTH_BUFFER_BIT);
    // The view is the client area left of the palette list.
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glViewport(viewport[0], viewport[1], w, viewport[3]);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(MeshCamera::FieldOfView(w, h), double(w) / h, 1, 10000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotated(-camera_.pitch, 1, 0, 0);
    glRotated(-camera_.yaw, 0, 1, 0);
    glTranslated(-camera_.x, -camera_.y, -camera_.z);
    glScaled(-1, 1.0 / kHeightUnitsPerCell, 1);
    if (renderer_)
        stats_ = renderer_->Draw(DrawSettings());
    DrawBrushOutline();
    glPopClientAttrib();
    glPopAttrib();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, Client().Width(), h, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (info_)
        DrawInfo();
}

void MeshEdit::DrawBrushOutline() {
    if (tool_ != Tool::kDetailMap || !brushPosition_ || !IsFocused())
        return;
    const double px = (*brushPosition_)[0], pz = (*brushPosition_)[1], r = brush_.radius;
    const Mesh& mesh = document_.mesh;
    auto point = [&](double x, double z) {
        const double cx = std::clamp(x, 0.0, double(mesh.width - 1)), cz = std::clamp(z, 0.0, double(mesh.height - 1));
        glVertex3d(x, mesh.HeightAt(std::min(cx, mesh.width - 1.001), std::min(cz, mesh.height - 1.001)) + 8, z);
    };
    glDisable(GL_DEPTH_TEST);
    glColor4ub(255, 255, 64, 255);
    glBegin(GL_LINE_LOOP);
    if (brush_.shape == BrushShape::kRound) {
        for (int i = 0; i < 256; ++i) {
            const double a = i * 2 * 3.14159265358979 / 256;
            point(px + r * std::cos(a), pz + r * std::sin(a));
        }
    } else {
        const int steps = 32;
        for (int i = 0; i < steps; ++i) point(px - r + 2 * r * i / steps, pz - r);
        for (int i = 0; i < steps; ++i) point(px + r, pz - r + 2 * r * i / steps);
        for (int i = 0; i < steps; ++i) point(px + r - 2 * r * i / steps, pz + r);
        for (int i = 0; i < steps; ++i) point(px - r, pz + r - 2 * r * i / steps);
    }
    glEnd();
}

std::string MeshEdit::InfoText() const {
    const Mesh& mesh = document_.mesh;
    const int total = std::max(1, (mesh.width - 1) * (mesh.height - 1));
    char text[1024];
    int n = std::snprintf(text, sizeof text,
                          "Mesh Dimensions: %d x %d\nMesh Chunks: %d invisible, %d partial, %d full\nMesh Cells: %d "
                          "rendered (%.1f%%)\nWireframe: %s\nMedia Animation: %s\n",
                          mesh.blocksWide, mesh.blocksHigh, stats_.invisible, stats_.partial, stats_.full, stats_.cells,
                          100.0 * stats_.cells / total, OnOff(wireframe_), OnOff(animation_));
    if (tool_ != Tool::kDetailMap)
        return text;
    const Material& material = materials_[size_t(material_)];
    std::string name = "<none>";
    if (material.texture) name = material.texture->Header().Name();
    const std::array<double, 2> at = brushPosition_.value_or(std::array<double, 2>{-1, -1});
    std::snprintf(text + n, sizeof text - size_t(n),
                  "Detail Textures: %s\nHighlighting: %s\nHighlight Mode: %s\nBrush Shape: %s\nBrush Mode: %s\nBrush "
                  "Radius: %.1f\nBrush Material: %s\nBrush Scale: %d px/cell (%.1f:1)\nBrush Position: {%.2f, %.2f}\n",
                  OnOff(details_ && painter_.Exists()), OnOff(highlighting_), HighlightModeName(highlightMode_),
                  brush_.shape == BrushShape::kRound ? "Round" : "Square",
                  brush_.mode == BrushMode::kVertex ? "Vertex" : "Triangle", brush_.radius, name.c_str(),
                  material.entry.Scale(), material.entry.Scale() / 8.0, at[0], at[1]);
    return text;
}

void MeshEdit::DrawInfo() {
    const std::string text = InfoText();
    int lines = int(std::count(text.begin(), text.end(), '\n'));
    glColor4ub(0, 0, 0, 140);
    glRecti(4, 4, 300, 10 + lines * 15);
    SetDrawColor(255, 255, 255, 255);
    DrawText(text.c_str(), 0, kTextMultiLine | kTextShadow, Rect{8, 6, 300, 10 + lines * 15});
}

}  // namespace tamber::terrain::editor
