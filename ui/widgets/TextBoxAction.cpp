#include "ui/widgets/TextBoxAction.h"

#include <utility>

#include "ui/widgets/TextBox.h"

namespace tamber::ui::widgets {

TextBoxAction::TextBoxAction(TextBox* box, Kind kind, int position, std::string removed, std::string inserted,
                             Selection before, Selection after)
    : box_(box),
      kind_(kind),
      position_(position),
      removed_(std::move(removed)),
      inserted_(std::move(inserted)),
      before_(before),
      after_(after) {}

bool TextBoxAction::Do(void*) {
    if (position_ < 0 || size_t(position_) + removed_.size() > box_->Text().size()) return false;
    box_->ReplaceRange(position_, int(removed_.size()), inserted_, after_);
    return true;
}

void TextBoxAction::Undo(void*) { box_->ReplaceRange(position_, int(inserted_.size()), removed_, before_); }

}  // namespace tamber::ui::widgets
