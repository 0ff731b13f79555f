#include "models/viewer/GeomEdit.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdio>

#include "base/MessageLog.h"
#include "editing/TagPayloadIO.h"
#include "models/LwoWriter.h"
#include "models/import/GeometryPayload.h"
#include "models/import/ModelFromGeometry.h"
#include "models/viewer/ViewTransformButton.h"
#include "tags/Codex.h"
#include "ui/DrawBatch.h"
#include "ui/Font.h"
#include "ui/WindowSystem.h"
#include "ui/choosers/FileDialogs.h"
#include "ui/widgets/Menu.h"
#include "ui/widgets/MessageBoxWindow.h"

namespace tamber::models::viewer {
using namespace tamber::base;
using namespace tamber::models::import;
using namespace tamber::tags;
using namespace tamber::ui::choosers;
using namespace tamber::ui::widgets;

namespace {

enum Command { kResetView = 1, kExportLwo = 2 };
constexpr double kPickRadius = 3.0;
constexpr double kFieldOfView = 45.0;
constexpr int kWheelZoomStep = 40;

}  // namespace

GeomEdit::GeomEdit(TagRecord* record) : TagEdit(record) {
    SetFlags(kStyleFocusable);
    const char* labels[3] = {"Pan", "Rotate", "Zoom"};
    void (GeomEdit::*handlers[3])(Point) = {&GeomEdit::OnPan, &GeomEdit::OnRotate, &GeomEdit::OnZoom};
    for (int i = 0; i < 3; ++i) {
        buttons_[i] = new ViewTransformButton(this, labels[i]);
        buttons_[i]->moved.Connect(this, handlers[i]);
    }
    SetFrameXYWH(0, 0, kWidth, kHeight);
    OnResize();
}

GeomEdit::~GeomEdit() = default;

TagEdit* GeomEdit::Create(TagRecord* record) { return new GeomEdit(record); }

int GeomEdit::ParsePayload(FILE* stream, const TagHeader& header) {
    Result<std::vector<uint8_t>> bytes = ReadPayloadBytes(stream, header);
    if (!bytes) return 0;
    Result<Geometry> geometry = ReadGeometryPayload(*bytes);
    if (!geometry) {
        LogMessage(2, "Geometry", "'%s' cannot be shown: %s\n", header.Name().c_str(), geometry.error().c_str());
        return 0;
    }
    std::vector<std::string> notes;
    model_ = ModelFromGeometryInCodex(Codex::Instance(), *geometry, &notes);
    for (const std::string& note : notes) LogMessage(1, "Geometry", "'%s': %s\n", header.Name().c_str(), note.c_str());
    if (renderer_) renderer_->Release();
    renderer_ = std::make_unique<ModelRenderer>(model_);
    selection_.clear();
    ResetView();
    return 1;
}

void GeomEdit::OnClose() {
    if (renderer_) renderer_->Release();
    renderer_.reset();
    TagEdit::OnClose();
}

void GeomEdit::OnResize() {
    const int width = Client().Width();
    const int offsets[3] = {45, 30, 15};
    for (int i = 0; i < 3; ++i) {
        if (buttons_[i])
            buttons_[i]->SetFrameXYWH(width - offsets[i], 0, ViewTransformButton::kSide, ViewTransformButton::kSide);
    }
}

void GeomEdit::ResetView() {
    camera_.Frame(model_);
    InvalidateClient();
}

void GeomEdit::OnPan(Point delta) {
    camera_.Pan(delta.x, delta.y);
    InvalidateClient();
}

void GeomEdit::OnRotate(Point delta) {
    camera_.Rotate(delta.x, delta.y);
    InvalidateClient();
}

void GeomEdit::OnZoom(Point delta) {
    camera_.Zoom(delta.y);
    InvalidateClient();
}

void GeomEdit::OnWheel(Event&) {
    camera_.Zoom(-WS().WheelDelta(false) * kWheelZoomStep);
    InvalidateClient();
}

void GeomEdit::OnMouseButton(Event& event) {
    if (!event.ButtonPressed()) return;
    WS().SetFocus(this, kFocusByMouse);
    const Point client{event.Position().x - Client().left, event.Position().y - Client().top};
    if (event.Button() == 1) {
        auto* menu = new Menu(false);
        AddMenuItem(menu, "Reset View", nullptr, kResetView, true);
        AddMenuItem(menu, "Export LWO...", nullptr, kExportLwo, true);
        const int command = PopupMenu(menu, event.Position());
        menu->Close();
        if (command == kResetView) ResetView();
        if (command == kExportLwo) ExportLwo();
        return;
    }
    if (event.Button() != 0) return;
    if (event.Modifiers() & kModShift) SelectVerticesNear(client);
    else if (event.Modifiers() & kModCtrl) ClearSelection();
}

std::optional<std::array<double, 2>> GeomEdit::ClientPosition(uint32_t vertex) const {
    if (!drawn_ || vertex >= model_.vertices.size()) return std::nullopt;
    const float* p = model_.vertices[vertex].position;
    double wx, wy, wz;
    if (gluProject(p[0], p[1], p[2], modelview_, projection_, viewport_, &wx, &wy, &wz) != GL_TRUE) return std::nullopt;
    if (wz < 0 || wz > 1) return std::nullopt;
    // Window coordinates have y up, in the viewport of the last draw (the client area).
    return std::array<double, 2>{wx - viewport_[0], viewport_[1] + viewport_[3] - wy};
}

void GeomEdit::SelectVerticesNear(Point client) {
    const double x = client.x + 0.5, y = client.y + 0.5;
    for (uint32_t i = 0; i < model_.vertices.size(); ++i) {
        const std::optional<std::array<double, 2>> at = ClientPosition(i);
        if (!at) continue;
        const double dx = (*at)[0] - x, dy = (*at)[1] - y;
        if (dx * dx + dy * dy <= kPickRadius * kPickRadius &&
            std::find(selection_.begin(), selection_.end(), i) == selection_.end())
            selection_.push_back(i);
    }
    InvalidateClient();
}

void GeomEdit::ClearSelection() {
    selection_.clear();
    InvalidateClient();
}

void GeomEdit::ExportLwo() {
    std::string folder;
    if (!ChooseFolderOfKind(kFileKindModel, "Choose a destination folder", folder)) return;
    if (Status written = WriteLwoModel(model_, folder, TagName()); !written) {
        LogMessage(2, "Geometry", "LWO creation failed: %s\n", written.error().c_str());
        MessageBox("Error", "LWO creation failed.", {"OK"});
    }
}

std::string GeomEdit::InfoText() const {
    char text[128];
    std::snprintf(text, sizeof text, "Triangles: %d\nVertices: %d\nMaterials: %d\n", int(model_.triangles.size()),
                  int(model_.vertices.size()), int(model_.materials.size()));
    return text;
}

void GeomEdit::Draw() {
    const int w = Client().Width(), h = Client().Height();
    FlushDrawing();
    glColor4ub(40, 44, 52, 255);
    glRecti(0, 0, w, h);
    if (w <= 0 || h <= 0) return;
    glClear(GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(kFieldOfView, double(w) / h, camera_.Near(), camera_.Far());
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    camera_.Apply();
    if (renderer_) renderer_->Draw();
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview_);
    glGetDoublev(GL_PROJECTION_MATRIX, projection_);
    glGetIntegerv(GL_VIEWPORT, viewport_);
    drawn_ = true;
    DrawSelection();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);

    const std::string info = InfoText();
    SetDrawColor(255, 255, 255, 255);
    DrawText(info.c_str(), 0, kTextMultiLine | kTextShadow, Rect{6, 4, w - 50, h});
}

void GeomEdit::DrawSelection() const {
    if (selection_.empty()) return;
    glPushAttrib(GL_ENABLE_BIT | GL_POINT_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glPointSize(5);
    glColor4ub(255, 220, 0, 255);
    glBegin(GL_POINTS);
    for (uint32_t index : selection_) glVertex3fv(model_.vertices[index].position);
    glEnd();
    glPopAttrib();
}

}  // namespace tamber::models::viewer
