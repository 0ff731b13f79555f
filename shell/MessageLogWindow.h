#pragma once
// The log viewer ("Log Viewer"): one process-wide window listing the message log's
// channels on the left and showing the selected channel's text on the right. It is
// created hidden on the first message (or the first request to show it), shows the
// text stored before it existed, and is only hidden when closed.
#include <memory>
#include <string>
#include <vector>

#include "ui/Window.h"
#include "ui/widgets/ListWindow.h"

namespace tamber::ui::widgets { class SplitterWindow; }
namespace tamber::ui::widgets { class TextBox; }

namespace tamber::shell {
using namespace tamber::ui;
using namespace tamber::ui::widgets;

class MessageLogWindow : public Window {
public:
    static constexpr int kListWidth = 128;

    // The viewer, created hidden when asked to and missing; null otherwise.
    static MessageLogWindow* Get(bool create);
    // Makes the viewer hear every append to the message log from now on.
    static void Install();

    ~MessageLogWindow() override;

    const char* GetClassName() const override { return "MessageLogWindow"; }

    // Appends text to a channel (created on first use) and shows that channel; a
    // level of 1 or more also shows the viewer in front with the channel selected.
    void Append(const std::string& channel, const std::string& text, int show);
    ListWindow* ChannelList() const { return list_; }
    TextBox* ChannelBox(const std::string& channel) const;
    TextBox* ShownBox() const { return shown_; }

    // Closing only hides the viewer; its channels stay.
    bool CanClose(int force) override;
    void OnResize() override;

private:
    // A channel's row id is its place in channels_ (channels are never removed).
    struct Channel {
        std::string name;
        TextBox* box;
        RowId row;
    };

    MessageLogWindow();
    Channel* Find(const std::string& name) const;
    Channel* Create(const std::string& name);
    void ShowChannel(Channel* channel);
    void OnSelectionChanged();

    static MessageLogWindow* instance_;
    SplitterWindow* splitter_ = nullptr;
    ListWindow* list_ = nullptr;
    TextBox* shown_ = nullptr;
    std::vector<std::unique_ptr<Channel>> channels_;
};

// Creates the viewer if needed, shows it and brings it to the front.
void ShowLogViewer();

}  // namespace tamber::shell
