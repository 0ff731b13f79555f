#include "ui/widgets/ListModel.h"

#include <strings.h>

namespace tamber::ui::widgets {

namespace {

int Sign(int value) { return value < 0 ? -1 : value > 0 ? 1 : 0; }

// Without regard to case first, then exactly, so that the order is total.
int CompareText(const std::string& a, const std::string& b) {
    int c = strcasecmp(a.c_str(), b.c_str());
    return Sign(c != 0 ? c : a.compare(b));
}

}  // namespace

int CompareCells(CellType type, const CellValue& a, const CellValue& b) {
    switch (type) {
    case CellType::kNumber:
        if (a.number != b.number) return a.number < b.number ? -1 : 1;
        break;
    case CellType::kColor:
        if (a.color != b.color) return a.color < b.color ? -1 : 1;
        break;
    case CellType::kText:
    case CellType::kPicture: break;
    }
    return CompareText(a.text, b.text);
}

}  // namespace tamber::ui::widgets
