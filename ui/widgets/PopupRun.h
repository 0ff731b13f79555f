#pragma once
// The modal run of a pop-up (menus, combo-box lists): keys go to the pop-up, and a
// press outside it ends the run and is then delivered to the window it was aimed at,
// once the run is over (delivering it from inside the run would nest the target's
// own handlers in the ending run).
#include "ui/Event.h"

namespace tamber::ui { class Window; }

namespace tamber::ui::widgets {

class PopupRun {
public:
    // Keys and outside presses to the pop-up; gives way to a quit.
    static constexpr int kFlags = 1 | 2 | 8;

    // Runs the window modally until End or EndWithPress.
    void Run(Window* popup);
    void End(Window* popup);
    // Ends the run because of a press outside the pop-up, kept for delivery afterwards.
    void EndWithPress(Window* popup, const Event& press);
    bool Running() const { return running_; }

private:
    bool running_ = false;
    bool pending_ = false;
    Event press_;
};

}  // namespace tamber::ui::widgets
