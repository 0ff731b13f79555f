#include "editing/StructTable.h"

#include <GL/gl.h>

#include <algorithm>

#include "ui/Font.h"
#include "ui/Skin.h"
#include "ui/WindowSystem.h"

namespace tamber::editing {
using namespace tamber::ui;

namespace {

// A framed table's margins: its content starts 24 pixels in (40 down below a caption,
// 16 without one) and it is 48 wider and 36 (60 with a caption) taller than the content.
constexpr int kFrameLeft = 24;
constexpr int kFrameTopCaption = 40;
constexpr int kFrameTop = 16;
constexpr int kFrameExtraWidth = 48;
constexpr int kFrameExtraHeight = 36;
constexpr int kCaptionExtraHeight = 24;
constexpr int kFrameInset = 8;
constexpr int kCaptionLineTop = 24;

}  // namespace

Table::Label::Label(Window* parent, const std::string& text) : Window(kStyleVisible | kStyleEnabled, parent), text_(text) {
    SetName(text.c_str());
    const int width = ui::DrawText(GetFont(), text_.c_str(), 0, kTextMeasureOnly, {0, 0, 1 << 20, 1 << 20});
    SetSize(width + 1, kHeight);
}

void Table::Label::Draw() {
    Skin::SetTextColor(false);
    DrawText(text_.c_str(), 0, kTextCenterVertically | kTextShadow, {0, 0, Client().Width(), Client().Height()});
}

Table::Table(Window* parent) : Window(kStyleVisible | kStyleEnabled, parent) {}

void Table::AddCell(Window* cell) {
    if (rows_.empty()) AddRow();
    rows_.back().push_back(cell);
}

std::vector<int> Table::MeasureColumns() const {
    std::vector<int> widths;
    for (const auto& row : rows_) {
        if (widths.size() < row.size()) widths.resize(row.size(), 0);
        for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c]->Frame().Width() + kColumnGap);
    }
    return widths;
}

Point Table::ContentOrigin() const {
    if (!framed_) return {0, 0};
    return {kFrameLeft, caption_.empty() ? kFrameTop : kFrameTopCaption};
}

void Table::Layout() {
    std::vector<int> widths = MeasureColumns();
    for (size_t c = 0; c < widths.size() && c < minimumColumns_.size(); ++c) widths[c] = std::max(widths[c], minimumColumns_[c]);
    const Point origin = ContentOrigin();
    int y = origin.y;
    for (const auto& row : rows_) {
        int rowHeight = 0;
        for (Window* cell : row) rowHeight = std::max(rowHeight, cell->Frame().Height());
        int x = origin.x;
        for (size_t c = 0; c < row.size(); ++c) {
            Window* cell = row[c];
            int width = cell->Frame().Width();
            if (stretch_) width = widths[c];
            int offset = 0;
            if (align_ == kAlignRight) offset = widths[c] - width;
            else if (align_ == kAlignCenter) offset = (widths[c] - width) / 2;
            cell->SetFrameXYWH(x + offset, y, width, cell->Frame().Height());
            x += widths[c];
        }
        y += rowHeight + kRowGap;
    }
    int width = 0;
    for (int w : widths) width += w;
    int height = y - origin.y;
    if (framed_) {
        width += kFrameExtraWidth;
        height += kFrameExtraHeight + (caption_.empty() ? 0 : kCaptionExtraHeight);
    }
    SetSize(width, height);
}

void Table::Draw() {
    if (!framed_) return;
    const int width = Client().Width();
    const int height = Client().Height();
    const int top = caption_.empty() ? kFrameInset : kCaptionLineTop;
    if (Skin* skin = WS().GetSkin()) skin->DrawThinFrame({kFrameInset, top, width - kFrameInset, height - kFrameInset});
    if (caption_.empty()) return;
    Skin::SetTextColor(false);
    DrawText(caption_.c_str(), 0, kTextCenterVertically | kTextShadow, {kFrameInset + 4, 2, width - kFrameInset, kCaptionLineTop - 2});
}

}  // namespace tamber::editing
