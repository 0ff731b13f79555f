#pragma once
// The tag operations' questions answered with modal message boxes.
#include "tags/TagPrompts.h"

namespace tamber::editing {
using namespace tamber::tags;

class WindowTagPrompts : public TagPrompts {
public:
    // At most four buttons are shown; returns the index of the pressed one.
    int Ask(const std::string& title, const std::string& text, const std::vector<std::string>& buttons) override;
};

// Start-up: makes the program's questions message boxes.
void InstallWindowTagPrompts();
// The prompts the program's tag operations ask through. Until installed, every
// question gets its last (refusing) answer.
TagPrompts& ProgramTagPrompts();

}  // namespace tamber::editing
