#pragma once
// A nested `structedit` container shown as a pop-up: a floating panel, centred in
// the top layer and run modally until it is closed, then hidden for the next time.
#include <string>

#include "ui/Window.h"

namespace tamber::editing {
using namespace tamber::ui;

class StructEditor;
class Table;

class StructEditPopup : public Window {
public:
    StructEditPopup(StructEditor* owner, const std::string& title);
    // Tells the owner, when the window system destroys the panel first.
    ~StructEditPopup() override;
    void ForgetOwner() { owner_ = nullptr; }
    const char* GetClassName() const override { return "StructEditPopup"; }

    // Puts the table at the client origin and fits the panel around it.
    void SetTable(Table* table);
    Table* GetTable() const { return table_; }
    void Run();
    bool IsRunning() const { return running_; }

    // Closing only hides the panel; its owner closes it for good.
    bool CanClose(int force) override;
    bool OnKey(Event& event) override;

private:
    void Finish();

    StructEditor* owner_;
    Table* table_ = nullptr;
    bool running_ = false;
};

}  // namespace tamber::editing
