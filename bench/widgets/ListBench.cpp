// Fills a list of 150,000 rows, sorts it by two columns, and scrolls it frame by
// frame in the offscreen context, reporting the time of each. The goal is under
// 16 ms a frame. Run from the build's run folder (it reads res/).
//
//   widgets_list_bench [rows] [frames]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "tests/ui/support/UiTestDriver.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/GridWindow.h"
#include "ui/widgets/ListWindow.h"

using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {

struct Record {
    char name[24];
    int size;
    int group;
};

double Milliseconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

// Processor time of the whole process (software OpenGL's threads included), to tell
// slow frames from frames the machine did not schedule.
double CpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

struct FrameTimes {
    std::vector<double> ms;
    std::vector<double> cpu;
    void Print(const char* what) {
        if (ms.empty()) return;
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        double total = 0;
        for (double m : ms) total += m;
        size_t worst = size_t(std::max_element(ms.begin(), ms.end()) - ms.begin());
        std::printf("%-28s frames %zu  mean %.2f ms  median %.2f ms  95th %.2f ms  worst %.2f ms (cpu %.2f ms)\n",
                    what, ms.size(), total / double(ms.size()), sorted[sorted.size() / 2],
                    sorted[sorted.size() * 95 / 100], sorted.back(), cpu.empty() ? 0.0 : cpu[worst]);
    }
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

        auto start = std::chrono::steady_clock::now();
        for (size_t i = 0; i < records.size(); ++i) list->AddListItem(nullptr, RowId(i), 0, "");
        list->RowCount();
        std::printf("fill %d rows                %.1f ms\n", rows, Milliseconds(start));
        start = std::chrono::steady_clock::now();
        list->SortByColumn(2);  // group first, then name
        std::printf("sort by group, name         %.1f ms\n", Milliseconds(start));
        start = std::chrono::steady_clock::now();
        list->SortByColumn(1);
        std::printf("sort by size, group, name   %.1f ms\n", Milliseconds(start));
        ui.step(2);

        // Each frame scrolls by an uneven step, so every frame draws new rows.
        auto scroll = [&](ScrollableWindow* window, int step, const char* what) {
            FrameTimes times;
            for (int f = 0; f < frames; ++f) {
                if (step) window->ScrollBy(ScrollableWindow::kVertical, step);
                else window->InvalidateClient();
                auto frameStart = std::chrono::steady_clock::now();
                double cpuStart = CpuMilliseconds();
                ui.step(1);
                times.ms.push_back(Milliseconds(frameStart));
                times.cpu.push_back(CpuMilliseconds() - cpuStart);
            }
            times.Print(what);
        };
        scroll(list, 0, "list repaint, same rows");
        scroll(list, 487, "list scrolling");
        WS().SetFocus(list, kFocusByProgram);
        FrameTimes selecting;
        for (int f = 0; f < frames / 3; ++f) {
            start = std::chrono::steady_clock::now();
            double cpuStart = CpuMilliseconds();
            ui.key(kKeyPageDown);
            ui.step(1);
            selecting.ms.push_back(Milliseconds(start));
            selecting.cpu.push_back(CpuMilliseconds() - cpuStart);
        }
        selecting.Print("list page down (key, frame)");
        if (list->Position(ScrollableWindow::kVertical) == 0) status = 1;

        list->Close();
        auto* grid = new GridWindow(kStyleVisible, nullptr);
        grid->SetFrameXYWH(10, 10, 1000, 740);
        grid->SetModel(&model, 0, 1);
        start = std::chrono::steady_clock::now();
        for (size_t i = 0; i < records.size(); ++i) grid->AddCell(RowId(i));
        std::printf("fill %d cells               %.1f ms\n", rows, Milliseconds(start));
        ui.step(2);
        scroll(grid, 97, "grid scrolling");
    });
    return status;
}
