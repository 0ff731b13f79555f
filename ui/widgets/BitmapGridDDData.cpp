#include "ui/widgets/BitmapGridDDData.h"

#include <cstdio>
#include <utility>

#include "ui/DrawBatch.h"
#include "ui/Font.h"
#include "ui/WindowSystem.h"

namespace tamber::ui::widgets {

BitmapGridDDData::BitmapGridDDData(GridWindow* grid, std::vector<int> cells, std::vector<RowId> ids)
    : Window::DragDropData(kType), grid_(grid), cells_(std::move(cells)), ids_(std::move(ids)) {}

std::string BitmapGridDDData::Label() const {
    char text[32];
    std::snprintf(text, sizeof text, "<%d Bitmaps>", int(cells_.size()));
    return text;
}

void BitmapGridDDData::RegisterDragImage() {
    // The registration lives in the window system, which tests rebuild.
    static const Window* registeredFor = nullptr;
    if (registeredFor == WS().Root()) return;
    registeredFor = WS().Root();
    WS().RegisterDragImage(kType, [](Window::DragDropData* data, Point at, bool measureOnly) {
        const Point offset{12, 12};
        const Font* font = WS().DefaultFont();
        if (measureOnly || !font) return offset;
        std::string label = static_cast<BitmapGridDDData*>(data)->Label();
        SetDrawColor(255, 255, 255, 255);
        DrawText(font, label.c_str(), 0, kTextShadow, Rect{at.x, at.y, at.x + 400, at.y + GetFontHeight(font)});
        return offset;
    });
}

}  // namespace tamber::ui::widgets
