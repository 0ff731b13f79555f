#pragma once
// The mesh editor: flies over a terrain mesh (`mesh`) drawn with its colour map,
// and paints the mesh's detail map (`dmap`, the colour map's tagid) per vertex or
// per triangle with 128 detail materials. The mesh itself is never changed; saving
// writes the detail map.
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "editing/TagEdit.h"
#include "images/Image.h"
#include "terrain/editor/DetailMapHost.h"
#include "terrain/editor/MaterialAttributes.h"
#include "terrain/editor/MeshCamera.h"
#include "terrain/editor/MeshDocument.h"
#include "terrain/editor/MeshRenderer.h"
#include "terrain/editor/SavedPosition.h"
#include "ui/UndoHistory.h"
#include "ui/widgets/ListWindow.h"

namespace tamber::terrain::editor {
using namespace tamber::editing;
using namespace tamber::ui;

class DtexTag;

class MeshEdit : public TagEdit, public DetailMapHost {
public:
    static constexpr int kPaletteWidth = 192;
    static constexpr int kTicksPerSecond = 60;

    enum class Tool { kNone = 0, kDetailMap = 1 };

    struct Material {
        DetailMaterial entry;     // tagid, scale - 1, description (colour from the table)
        bool locked = false, highlighted = false;
        DtexTag* texture = nullptr;
    };

    explicit MeshEdit(TagRecord* record);
    ~MeshEdit() override;

    const char* GetClassName() const override { return "MeshEdit"; }
    int ParsePayload(FILE* stream, const TagHeader& header) override;
    int Save() override;
    void OnClose() override;
    void OnResize() override;
    void Draw() override;
    void Idle() override;
    bool OnKey(Event& event) override;
    void OnMouseButton(Event& event) override;
    void OnMouseMove(Event& event) override;
    void OnWheel(Event& event) override;

    // DetailMapHost.
    DetailPainter& Painter() override { return painter_; }
    void DetailChanged(BrushMode mode, const GridRect& rect) override;

    // Commands of the menu and keys.
    void NewBlankMap();
    // Asks for the terrain types' materials, then makes the map from them.
    void NewMapFromTerrain();
    // A new map with these materials for the terrain types and each point's detail
    // from its cell's terrain type.
    void ApplyTerrainMap(const TerrainRows& rows);
    void ImportDetail(BrushMode mode);
    void ExportDetail(BrushMode mode);
    void ImportHighlightColours();
    // Applies a detail image read from a file; false (with the box shown) when refused.
    bool ApplyDetailImage(const tamber::images::Image& image, BrushMode mode);
    bool Undo();
    bool Redo();
    // Flood fill at a map position with the current material.
    void FillAt(double x, double z);
    // The stroke the mouse makes, for scripts and benchmarks as well.
    void BeginStroke(int modifiers);
    void StrokeTo(double x, double z);
    void EndStroke();

    // State, for the info overlay and tests.
    std::string InfoText() const;
    const Mesh& GetMesh() const { return document_.mesh; }
    const std::string& ColourMapName() const { return document_.colourMapName; }
    bool HasDetailMap() const { return painter_.Exists(); }
    Tool CurrentTool() const { return tool_; }
    void SetTool(Tool tool);
    Brush& CurrentBrush() { return brush_; }
    int CurrentMaterial() const { return material_; }
    void SetCurrentMaterial(int material);
    Material& MaterialAt(int index) { return materials_[size_t(index & 127)]; }
    HighlightMode GetHighlightMode() const { return highlightMode_; }
    MeshCamera& Camera() { return camera_; }
    UndoHistory& History() { return history_; }
    const std::array<uint8_t, 768>& HighlightColours() const { return colours_; }
    std::optional<std::array<double, 2>> BrushPosition() const { return brushPosition_; }
    const MeshDrawStats& LastDrawStats() const { return stats_; }
    void SetDetailsShown(bool on) { details_ = on; }
    void SetHighlighting(bool on);
    // A material's texture, highlight colour and description.
    MaterialAttributes AttributesOf(int index) const;
    // Sets them, reloads the texture and redraws; recording the change is the caller's.
    void SetAttributes(int index, const MaterialAttributes& attributes);
    // Sets them as one undoable action; false when the material has them already.
    bool ChangeAttributes(int index, const MaterialAttributes& attributes);
    // Sets a material's brush scale (1-256), reloads it and redraws; recording the
    // change is the caller's.
    void SetBrushScale(int index, int scale);
    // What a double-click on a palette row does: material 0's colour, the other
    // materials' attributes in "Edit Detail Texture Attributes".
    void EditMaterial(int index);

    static TagEdit* Create(TagRecord* record);

private:
    void ShowMenu(Point point);
    void RunCommand(int command);
    void Tick();
    void UpdateBrushPosition();
    void ReloadMaterials();
    void LoadMaterial(int index);
    void RefreshPaletteRow(int index);
    void OnPaletteSelection();
    void OnPaletteDelete();
    void OnPaletteActivated(widgets::ListWindow::ListItem* item);
    void ShowPalette(bool shown);
    bool PaletteShown() const;
    MeshDrawSettings DrawSettings();
    void DrawBrushOutline();
    void DrawInfo();
    // The width of the 3D view: the client area left of the palette list.
    int ViewWidth() const;
    std::array<bool, 128> HighlightFlags() const;
    PaintValue CurrentPaint() const;
    void WriteHighlightColours();
    void AfterWholeMapChange();
    // Marks the tag changed by something the history cannot undo.
    void ChangedOutsideHistory();
    // Adds an action already done and sets the modified mark from the history.
    void AddAction(std::unique_ptr<UndoableAction> action);

    MeshDocument document_;
    std::unique_ptr<MeshRenderer> renderer_;
    DetailPainter painter_;
    std::array<Material, kDetailMaterialCount> materials_;
    std::array<uint8_t, 768> colours_{};
    UndoHistory history_;
    SavedPosition position_;
    MeshCamera camera_;
    Brush brush_;
    Tool tool_ = Tool::kNone;
    int material_ = 0;
    HighlightMode highlightMode_ = HighlightMode::kTextureIndex;
    bool info_ = true, wireframe_ = false, details_ = false, highlighting_ = false, animation_ = false;
    bool cameraAwake_ = false;  // camera keys act only after the first key press
    std::optional<std::array<double, 2>> brushPosition_;
    Point mouse_{-1, -1};
    int pressModifiers_ = 0;
    bool leftDown_ = false, brushMoved_ = false, fillPending_ = false;
    uint32_t ticks_ = 0;
    double tickClock_ = -1;
    MeshDrawStats stats_;
    widgets::ListWindow* palette_ = nullptr;
    int lastWheel_ = 0;
};

}  // namespace tamber::terrain::editor
