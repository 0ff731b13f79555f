// The batch progress window: shown at once from inside a long loop, rate-limited,
// the last state always drawn, input held back until the loop ends.
#include <gtest/gtest.h>

#include <string>

#include "tests/ui/support/UiTestDriver.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/BatchProgress.h"

using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {

// Runs a batch on the main thread when clicked, as a menu command does; each item
// moves the clock by the work it took. Counts presses while no batch runs.
struct BatchRunner : Window {
    explicit BatchRunner(UiTestDriver& ui) : Window(kStyleVisible | kStyleEnabled, nullptr), ui(ui) {
        SetFrameXYWH(0, 0, 40, 40);
    }
    void OnMouseButton(Event& event) override {
        if (!event.ButtonPressed()) return;
        if (items == 0) return void(++presses);
        running = true;
        {
            BatchProgress progress("Converting Images");
            const uint32_t before = WS().FramesRendered();
            for (size_t i = 0; i < items; ++i) {
                progress.Update("source/a long folder name/and a longer one still/picture " + std::to_string(i) +
                                    ".png",
                                i, items);
                ui.platform().time += secondsPerItem;
            }
            progress.Update("", items, items);
            renders = WS().FramesRendered() - before;
        }
        running = false;
    }
    UiTestDriver& ui;
    size_t items = 0;
    double secondsPerItem = 0;
    bool running = false;
    uint32_t renders = 0;
    int presses = 0;
};

void RunBatch(UiTestDriver& ui, BatchRunner* runner, size_t items, double secondsPerItem) {
    runner->items = items, runner->secondsPerItem = secondsPerItem;
    ui.click(UiTestDriver::center(runner));
}

void Finish(UiTestDriver& ui, const BatchRunner* runner) {
    for (int i = 0; i < 2000 && runner->running; ++i) ui.step(1);
    ui.step(2);
}

}  // namespace

TEST(BatchProgress, RepaintsAtOnceRateLimitedAndHoldsInput) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        auto* runner = new BatchRunner(ui);
        auto* counter = new BatchRunner(ui);
        counter->SetFrameXYWH(900, 700, 40, 40);

        // No time passes between items: only the first and the forced last repaint.
        RunBatch(ui, runner, 5000, 0);
        ASSERT_TRUE(runner->running);  // the script's turn comes at each repaint
        Window* window = ui.find("Converting Images");
        ASSERT_NE(window, nullptr);
        EXPECT_NEAR(window->Frame().left + window->Frame().right, 1024, 1);
        Finish(ui, runner);
        EXPECT_EQ(runner->renders, 2u);
        EXPECT_EQ(ui.find("Converting Images"), nullptr);

        // Two seconds of work: a repaint each 50 ms (the frames' own time counting),
        // some 60 for 2001 updates. A click meanwhile waits until the loop is over.
        RunBatch(ui, runner, 2000, 0.001);
        ui.step(3);
        ui.screenshot("batch-progress.ppm");
        ui.click(UiTestDriver::center(counter));
        ASSERT_TRUE(runner->running);
        EXPECT_EQ(counter->presses, 0);
        Finish(ui, runner);
        EXPECT_EQ(counter->presses, 1);
        EXPECT_GE(runner->renders, 50u);
        EXPECT_LE(runner->renders, 70u);
    });
}
