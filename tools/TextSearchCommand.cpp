#include "tools/TextSearchCommand.h"

#include "base/MessageLog.h"
#include "tags/Codex.h"
#include "tags/TextSearch.h"
#include "ui/widgets/BatchProgress.h"
#include "ui/widgets/MessageBoxWindow.h"

namespace tamber::tools {
using namespace tamber::base;
using namespace tamber::tags;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

size_t RunTextSearch(const std::string& needle, bool caseSensitive) {
    TextSearchResults results;
    {
        BatchProgress progress("Searching Text Tags");
        results = SearchTextInTags(Codex::Instance(), needle, caseSensitive,
                                   [&](const std::string& what, size_t done, size_t total) {
                                       progress.Update(what, done, total);
                                   });
    }
    const std::vector<std::string> lines = TextSearchReport(results);
    const size_t headingIndex = results.hits.size();
    for (size_t i = 0; i < lines.size(); ++i) {
        // The heading brings the channel into view once the hits are all there.
        LogMessage(i == headingIndex ? 1 : 0, kTextSearchChannel, "%s", lines[i].c_str());
    }
    return results.hits.size();
}

void SearchTextTags() {
    // The last text searched is offered again.
    static std::string needle;
    std::string text = needle;
    int choice = MessageBoxWithInput("Input text string to search", text,
                                     {"Search", "Search (case sensitive)", "Cancel"});
    if (choice != 0 && choice != 1) return;
    needle = text;
    if (text.empty()) return;
    RunTextSearch(text, choice == 1);
}

}  // namespace tamber::tools
