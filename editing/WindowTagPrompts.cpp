#include "editing/WindowTagPrompts.h"

#include <algorithm>

#include "ui/widgets/MessageBoxWindow.h"

namespace tamber::editing {
using namespace tamber::ui;
using namespace tamber::ui::widgets;

int WindowTagPrompts::Ask(const std::string& title, const std::string& text, const std::vector<std::string>& buttons) {
    // A null label ends the box's list.
    const char* labels[MessageBoxWindow::kMaxButtons] = {};
    const size_t count = std::min<size_t>(buttons.size(), MessageBoxWindow::kMaxButtons);
    for (size_t i = 0; i < count; ++i) labels[i] = buttons[i].c_str();
    return MessageBox(title.c_str(), text.c_str(), {labels[0], labels[1], labels[2], labels[3]});
}

namespace {

// Before start-up installs the boxes, nothing is overwritten or replaced.
class RefusingTagPrompts : public TagPrompts {
public:
    int Ask(const std::string&, const std::string&, const std::vector<std::string>& buttons) override {
        return static_cast<int>(buttons.size()) - 1;
    }
};

TagPrompts*& Installed() {
    static TagPrompts* prompts = nullptr;
    return prompts;
}

}  // namespace

void InstallWindowTagPrompts() {
    static WindowTagPrompts prompts;
    Installed() = &prompts;
}

TagPrompts& ProgramTagPrompts() {
    static RefusingTagPrompts refusing;
    return Installed() ? *Installed() : refusing;
}

}  // namespace tamber::editing
