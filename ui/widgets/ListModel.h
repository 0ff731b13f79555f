#pragma once
// What lists and grids show: rows named by ids their owner chooses, and typed
// cells the model supplies on demand. A list keeps only ids, so its selection,
// expanded rows and scroll position survive a refill that brings the same ids back.
#include <cstdint>
#include <string>

#include "ui/Rect.h"

namespace tamber::ui::widgets {

// Names a row for as long as the owner shows the same thing in it.
using RowId = uint64_t;

enum class CellType : uint8_t { kText, kNumber, kColor, kPicture };

// One cell. Every type carries the text shown for it (a number's formatting, a
// picture's caption); a number sorts by its value, a colour (0xRRGGBBAA) by its
// components, text and pictures by their text.
struct CellValue {
    std::string text;
    double number = 0;
    uint32_t color = 0;

    static CellValue Text(std::string text) { return {std::move(text), 0, 0}; }
    static CellValue Number(double value, std::string shown) { return {std::move(shown), value, 0}; }
    // A whole number shown in decimal.
    static CellValue Integer(int64_t value) { return Number(double(value), std::to_string(value)); }
    static CellValue Color(uint32_t rgba, std::string shown = {}) { return {std::move(shown), 0, rgba}; }
};

// Negative, zero or positive as a sorts before, with or after b in a column of this type.
int CompareCells(CellType type, const CellValue& a, const CellValue& b);

class ListModel {
public:
    virtual ~ListModel() = default;
    // The cell of a row in a column; its type is the column's.
    virtual CellValue Cell(RowId row, int column) const = 0;
    // Draws the picture of a picture cell into rect (the window's client pixels).
    virtual void DrawPicture(RowId row, int column, const Rect& rect) const { (void)row, (void)column, (void)rect; }
};

}  // namespace tamber::ui::widgets
