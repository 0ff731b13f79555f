#pragma once
// A list model for rows whose cells are all known when the list is filled (file
// names, window names, log channels): the owner stores each row's cells by id.
#include <unordered_map>
#include <vector>

#include "ui/widgets/ListModel.h"

namespace tamber::ui::widgets {

class StoredListModel : public ListModel {
public:
    void Clear() { rows_.clear(); }
    void SetRow(RowId row, std::vector<CellValue> cells) { rows_[row] = std::move(cells); }
    bool HasRow(RowId row) const { return rows_.count(row) != 0; }
    // Empty for a row or column never stored.
    CellValue Cell(RowId row, int column) const override;

private:
    std::unordered_map<RowId, std::vector<CellValue>> rows_;
};

}  // namespace tamber::ui::widgets
