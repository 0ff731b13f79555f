#pragma once
// The geometry viewer: a lit, textured 3D view of a geometry tag (`geom`) with
// its textures from the collection its collection reference names. "Pan",
// "Rotate" and "Zoom" buttons change the view while dragged, the wheel zooms,
// Shift+click marks the vertices under the mouse and Ctrl+click clears the
// marks. The right button offers "Reset View" and "Export LWO...". Nothing in
// the tag is changed.
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editing/TagEdit.h"
#include "models/Model.h"
#include "models/viewer/ModelRenderer.h"
#include "models/viewer/OrbitCamera.h"

namespace tamber::models::viewer {
using namespace tamber::editing;
using namespace tamber::ui;

class ViewTransformButton;

class GeomEdit : public TagEdit {
public:
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 400;

    explicit GeomEdit(TagRecord* record);
    ~GeomEdit() override;

    const char* GetClassName() const override { return "GeomEdit"; }
    static TagEdit* Create(TagRecord* record);

    int ParsePayload(FILE* stream, const TagHeader& header) override;
    void OnClose() override;
    void OnResize() override;
    void Draw() override;
    void OnMouseButton(Event& event) override;
    void OnWheel(Event& event) override;

    void ResetView();
    // Writes the model as "<tag name>.lwo" into a folder the user picks.
    void ExportLwo();
    // Marks every vertex drawn within 3 pixels of a point of the window's client.
    void SelectVerticesNear(Point client);
    void ClearSelection();
    // Where a vertex was drawn in the last frame, in client coordinates; none
    // before the first frame or when it lies outside the depth range.
    std::optional<std::array<double, 2>> ClientPosition(uint32_t vertex) const;

    const Model& GetModel() const { return model_; }
    OrbitCamera& Camera() { return camera_; }
    const std::vector<uint32_t>& Selection() const { return selection_; }
    std::string InfoText() const;

private:
    void OnPan(Point delta);
    void OnRotate(Point delta);
    void OnZoom(Point delta);
    void DrawSelection() const;

    Model model_;
    std::unique_ptr<ModelRenderer> renderer_;
    OrbitCamera camera_;
    ViewTransformButton* buttons_[3] = {};
    std::vector<uint32_t> selection_;
    // The transform of the last frame drawn, for picking.
    double modelview_[16] = {};
    double projection_[16] = {};
    int viewport_[4] = {};
    bool drawn_ = false;
};

}  // namespace tamber::models::viewer
