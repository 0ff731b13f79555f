// Fills a list of 150,000 rows, sorts it by two columns, and scrolls it frame by
// frame in the offscreen context. Each scenario prints the median, 95th percentile
// and worst frame in processor time (software OpenGL's threads included) and in
// wall time, and the OpenGL calls a frame makes. Goals for scrolling the list: a
// median under 5 ms and a 95th percentile under 16 ms of processor time. Run from
// the build's run folder (it reads res/).
//
//   widgets_list_bench [rows] [frames]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/support/BenchFigures.h"
#include "bench/widgets/GLCallCounter.h"
#include "tests/ui/support/UiTestDriver.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/GridWindow.h"
#include "ui/widgets/ListWindow.h"

using namespace tamber::bench;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {

struct Record {
    char name[24];
    int size;
    int group;
};

struct Spread {
    double median, p95, max;
};

Spread SpreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {Median(values), values[values.size() * 95 / 100], values.back()};
}

// Times frames one by one: processor and wall time, and the OpenGL calls made.
class FrameTimes {
public:
    template <typename Frame>
    void Time(Frame&& frame) {
        const GLCallCounts calls = CountGLCalls();
        const double cpu = ProcessCpuMilliseconds();
        const Clock::time_point start = Clock::now();
        frame();
        wall_.push_back(MillisecondsSince(start));
        cpu_.push_back(ProcessCpuMilliseconds() - cpu);
        calls_ += CountGLCalls() - calls;
    }
    // Prints the line and returns the processor-time spread.
    Spread Print(const char* what) const {
        const Spread cpu = SpreadOf(cpu_), wall = SpreadOf(wall_);
        const double n = double(cpu_.size());
        std::printf("%-28s frames %zu  cpu median %.2f  95th %.2f  max %.2f ms  wall median %.2f  95th %.2f  max %.2f ms\n",
                    what, cpu_.size(), cpu.median, cpu.p95, cpu.max, wall.median, wall.p95, wall.max);
        if (GLCallsCounted())
            std::printf("%-28s GL calls a frame %.0f: draws %.1f, state queries %.1f, attribute pushes %.1f, "
                        "per-vertex calls %.0f\n",
                        "", double(calls_.all) / n, double(calls_.draws) / n, double(calls_.queries) / n,
                        double(calls_.pushes) / n, double(calls_.immediate) / n);
        return cpu;
    }

private:
    std::vector<double> wall_, cpu_;
    GLCallCounts calls_;
};

}  // namespace

int main(int argc, char** argv) {
    const int rows = argc > 1 ? std::max(1, std::atoi(argv[1])) : 150000;
    const int frames = argc > 2 ? std::max(1, std::atoi(argv[2])) : 300;
    std::vector<Record> records(static_cast<size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        Record& r = records[size_t(i)];
        std::snprintf(r.name, sizeof r.name, "tag %06d", (i * 7919) % rows);
        r.size = (i * 104729) % 100000;
        r.group = i % 53;
    }

    UiTestDriver ui({.width = 1024, .height = 768, .pixels = true, .watchdogSeconds = 600});
    if (!ui.Ready()) {
        std::fprintf(stderr, "no offscreen context: %s\n", ui.Error().c_str());
        return 1;
    }
    // A row's id is its record's index.
    struct Records : ListModel {
        explicit Records(const std::vector<Record>& records) : records(records) {}
        CellValue Cell(RowId id, int column) const override {
            const Record& r = records[id];
            if (column == 0) return CellValue::Text(r.name);
            return CellValue::Integer(column == 1 ? r.size : r.group);
        }
        const std::vector<Record>& records;
    } model(records);
    int status = 0;
    ui.Run([&](UiTestDriver& ui) {
        auto* list = new ListWindow(ListWindow::kHeaderRow | ListWindow::kMultipleSelection, kStyleVisible, nullptr);
        list->SetFrameXYWH(10, 10, 1000, 740);
        list->SetModel(&model);
        list->AddColumn("Name", CellType::kText, 300);
        list->AddColumn("Size", CellType::kNumber, 200);
        list->AddColumn("Group", CellType::kNumber, 200);

        auto start = Clock::now();
        for (size_t i = 0; i < records.size(); ++i) list->AddListItem(nullptr, RowId(i), 0, "");
        list->RowCount();
        std::printf("fill %d rows                %.1f ms\n", rows, MillisecondsSince(start));
        start = Clock::now();
        list->SortByColumn(2);  // group first, then name
        std::printf("sort by group, name         %.1f ms\n", MillisecondsSince(start));
        start = Clock::now();
        list->SortByColumn(1);
        std::printf("sort by size, group, name   %.1f ms\n", MillisecondsSince(start));
        ui.step(2);

        // Each frame scrolls by an uneven step, so every frame draws new rows.
        auto scroll = [&](ScrollableWindow* window, int step, const char* what) {
            FrameTimes times;
            for (int f = 0; f < frames; ++f) {
                if (step) window->ScrollBy(ScrollableWindow::kVertical, step);
                else window->InvalidateClient();
                times.Time([&] { ui.step(1); });
            }
            return times.Print(what);
        };
        scroll(list, 0, "list repaint, same rows");
        const Spread scrolling = scroll(list, 487, "list scrolling");
        PrintFigure("150,000-row list scrolling, median frame (cpu)", Format("%.2f ms", scrolling.median), "< 5 ms",
                    Met(scrolling.median < 5));
        PrintFigure("150,000-row list scrolling, 95th percentile frame (cpu)", Format("%.2f ms", scrolling.p95),
                    "< 16 ms", Met(scrolling.p95 < 16));
        WS().SetFocus(list, kFocusByProgram);
        FrameTimes selecting;
        for (int f = 0; f < frames / 3; ++f)
            selecting.Time([&] {
                ui.key(kKeyPageDown);
                ui.step(1);
            });
        selecting.Print("list page down (key, frame)");
        if (list->Position(ScrollableWindow::kVertical) == 0) status = 1;

        list->Close();
        auto* grid = new GridWindow(kStyleVisible, nullptr);
        grid->SetFrameXYWH(10, 10, 1000, 740);
        grid->SetModel(&model, 0, 1);
        start = Clock::now();
        for (size_t i = 0; i < records.size(); ++i) grid->AddCell(RowId(i));
        std::printf("fill %d cells               %.1f ms\n", rows, MillisecondsSince(start));
        ui.step(2);
        scroll(grid, 97, "grid scrolling");
    });
    return status;
}
