#pragma once
// An extra row of a file or folder dialog: a label and a drop-down list with a
// preselected entry; the chosen entry is written back when the dialog ends with OK.
#include <string>
#include <vector>

namespace tamber::ui::choosers {

struct DialogOption {
    std::string label;  // "Target Format:"
    std::vector<std::string> entries;
    int chosen = 0;
};

}  // namespace tamber::ui::choosers
