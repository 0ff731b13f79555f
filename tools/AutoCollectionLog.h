#pragma once
// Where a builder run from the menu reports: its numbered channel of the message
// log (errors and warnings ask the log viewer to show it) and a batch progress
// window that appears with the first step.
#include <memory>
#include <string>

#include "collections/builder/BuildLog.h"

namespace tamber::ui::widgets { class BatchProgress; }

namespace tamber::tools {

class AutoCollectionLog {
public:
    AutoCollectionLog(std::string progressTitle, std::string channel);
    ~AutoCollectionLog();
    AutoCollectionLog(const AutoCollectionLog&) = delete;
    AutoCollectionLog& operator=(const AutoCollectionLog&) = delete;

    const collections::builder::BuildLog& Log() const { return log_; }
    // Closes the progress window (before the run's closing questions and messages).
    void EndProgress();

private:
    std::string progressTitle_;
    std::string channel_;
    std::unique_ptr<ui::widgets::BatchProgress> progress_;
    collections::builder::BuildLog log_;
};

}  // namespace tamber::tools
