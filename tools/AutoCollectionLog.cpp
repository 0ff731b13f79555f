#include "tools/AutoCollectionLog.h"

#include "base/MessageLog.h"
#include "ui/widgets/BatchProgress.h"

namespace tamber::tools {
using namespace tamber::base;
using namespace tamber::collections::builder;
using namespace tamber::ui::widgets;

AutoCollectionLog::AutoCollectionLog(std::string progressTitle, std::string channel)
    : progressTitle_(std::move(progressTitle)), channel_(std::move(channel)) {
    log_ = BuildLog([this](int level, const std::string& text) { MessageLog::Instance().Append(level, channel_, text); },
                    [this](const std::string& what, size_t done, size_t total) {
                        if (!progress_) progress_ = std::make_unique<BatchProgress>(progressTitle_);
                        progress_->Update(what, done, total);
                    });
}

AutoCollectionLog::~AutoCollectionLog() = default;

void AutoCollectionLog::EndProgress() { progress_.reset(); }

}  // namespace tamber::tools
