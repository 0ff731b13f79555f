#pragma once
// A small centred window that shows how far a long batch on the main thread has
// come: its title, the current item, a bar and "done of total". Each Update
// repaints the screen at once without dispatching input, at most every
// kRedrawSeconds (the last item is always shown); the destructor closes the window.
//
//   BatchProgress progress("Converting");
//   for (size_t i = 0; i < files.size(); ++i) { progress.Update(files[i], i, files.size()); ... }
#include <cstddef>
#include <string>

namespace tamber::ui { class Window; }

namespace tamber::ui::widgets {

class BatchProgress {
public:
    explicit BatchProgress(const std::string& title);
    ~BatchProgress();
    BatchProgress(const BatchProgress&) = delete;
    BatchProgress& operator=(const BatchProgress&) = delete;

    // An empty `what` keeps the text shown.
    void Update(const std::string& what, size_t done, size_t total);

    static constexpr double kRedrawSeconds = 0.05;

private:
    Window* window_;
    double lastDraw_ = -1;
};

}  // namespace tamber::ui::widgets
