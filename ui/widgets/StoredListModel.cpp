#include "ui/widgets/StoredListModel.h"

namespace tamber::ui::widgets {

CellValue StoredListModel::Cell(RowId row, int column) const {
    auto found = rows_.find(row);
    if (found == rows_.end() || column < 0 || size_t(column) >= found->second.size()) return {};
    return found->second[size_t(column)];
}

}  // namespace tamber::ui::widgets
