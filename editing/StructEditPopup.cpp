#include "editing/StructEditPopup.h"

#include "editing/StructEditor.h"
#include "editing/StructTable.h"
#include "ui/WindowSystem.h"

namespace tamber::editing {
using namespace tamber::ui;

namespace {

constexpr int kRunFlags = 1 | 4;  // keys to the panel, the screen dimmed behind it
constexpr int kMargin = 8;

}  // namespace

StructEditPopup::StructEditPopup(StructEditor* owner, const std::string& title)
    : Window(kStyleFloating & ~kStyleVisible, nullptr), owner_(owner) {
    SetName(title.c_str());
}

StructEditPopup::~StructEditPopup() {
    if (owner_) owner_->ForgetPopup(this);
}

void StructEditPopup::SetTable(Table* table) {
    table_ = table;
    table->SetFrameXYWH(kMargin, kMargin, table->Frame().Width(), table->Frame().Height());
    SizeClientTo(this, table->Frame().Width() + 2 * kMargin, table->Frame().Height() + 2 * kMargin);
}

void StructEditPopup::Run() {
    if (running_) return;
    CenterInParent();
    SetVisible(true);
    running_ = true;
    WS().RunModal(this, kRunFlags);
    running_ = false;
    SetVisible(false);
}

void StructEditPopup::Finish() {
    if (!running_) return;
    SetVisible(false);
    if (WS().ModalWindow() == this) WS().EndModal(this, 1);
}

bool StructEditPopup::CanClose(int force) {
    (void)force;
    if (!running_) return true;
    Finish();
    return false;
}

bool StructEditPopup::OnKey(Event& event) {
    if (event.Pressed() && (event.Key() == kKeyEscape || event.Key() == kKeyEnter)) {
        Finish();
        return true;
    }
    return false;
}

}  // namespace tamber::editing
