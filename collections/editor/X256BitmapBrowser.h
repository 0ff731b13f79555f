#pragma once
// A page of the collection editor listing the bitmaps (mode 0) or the shadows
// (mode 1, bitmaps with flag 0x80) in collection order: a table with the columns
// "Name", "Bits", "Format" and "Dimensions", or a grid of thumbnails, under a count
// label. Its context menu runs the bitmap commands (X256BitmapCommands.h); image
// files dropped on it are added, or with Control held replace the selected bitmap.
#include <memory>
#include <string>
#include <vector>

#include "collections/Collection.h"
#include "collections/editor/BitmapPictures.h"
#include "ui/widgets/ListGridWindow.h"
#include "ui/widgets/ListWindow.h"

namespace tamber::collections::editor {
using namespace tamber::ui;
using namespace tamber::ui::widgets;

class X256Edit;

class X256BitmapBrowser : public ListGridWindow {
public:
    enum Mode { kModeBitmaps = 0, kModeShadows = 1 };
    enum Column { kColumnName, kColumnBits, kColumnFormat, kColumnDimensions, kColumnPicture };
    static constexpr const char* kZoomPreference = "X256BitmapBrowser.GridZoom";

    X256BitmapBrowser(X256Edit& editor, Mode mode, Window* parent);
    ~X256BitmapBrowser() override;

    const char* GetClassName() const override { return "X256BitmapBrowser"; }
    void OnResize() override;
    void Draw() override;
    bool OnFilesDropped(const std::vector<std::string>& paths) override;

    Mode GetMode() const { return mode_; }
    X256Edit& Editor() const { return editor_; }
    // The page's bitmaps in collection order, and the selected ones among them.
    const std::vector<std::shared_ptr<Bitmap>>& Items() const { return items_; }
    std::vector<const Bitmap*> SelectedBitmaps() const;
    std::vector<const Bitmap*> AllBitmaps() const;
    // "%3d Bitmaps:" and its siblings.
    std::string CountLabel() const;
    // Runs the context menu at a surface point.
    void ShowContextMenu(Point point);
    // Renames the bitmap of a row (in place in the table view).
    void RenameSelected();
    void OpenBitmapWindow(const std::shared_ptr<Bitmap>& bitmap);
    // Rebuilds the rows from the collection.
    void Refresh();

private:
    class Rows;
    void OnContextClick(Point point) { ShowContextMenu(point); }
    void OnActivated(ListWindow::ListItem* item);
    void OnPaletteChanged();

    X256Edit& editor_;
    Mode mode_;
    std::vector<std::shared_ptr<Bitmap>> items_;
    std::unique_ptr<Rows> rows_;
    BitmapPictures pictures_;
    double loadedZoom_ = 1;  // the grid zoom read from the preference
};

}  // namespace tamber::collections::editor
