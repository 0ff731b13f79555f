#include "shell/MessageLogWindow.h"

#include <strings.h>

#include "base/MessageLog.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/SplitterWindow.h"
#include "ui/widgets/TextBox.h"

namespace tamber::shell {
using namespace tamber::base;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

MessageLogWindow* MessageLogWindow::instance_ = nullptr;

MessageLogWindow* MessageLogWindow::Get(bool create) {
    if (!instance_ && create && WS().Root()) {
        instance_ = new MessageLogWindow;
        // Text written before the viewer existed is in the store.
        for (const MessageLog::Channel& channel : MessageLog::Instance().Channels()) {
            instance_->Append(channel.name, channel.text, 0);
        }
    }
    return instance_;
}

void MessageLogWindow::Install() {
    MessageLog::Instance().SetListener([](const MessageLog::Channel& channel, const std::string& appended, int show) {
        bool existed = instance_ != nullptr;
        MessageLogWindow* viewer = Get(true);
        if (!viewer) return;
        // A viewer created just now has read the appended text from the store already.
        viewer->Append(channel.name, existed ? appended : std::string(), show);
    });
}

MessageLogWindow::MessageLogWindow() : Window(kStyleDocument & ~kStyleVisible, nullptr) {
    SetName("Log Viewer");
    SetFrameXYWH(32, 32, 600, 256);
    splitter_ = new SplitterWindow(kStyleVisible, this, SplitterWindow::kSideBySide);
    splitter_->SetFrameXYWH(0, 0, Client().Width(), Client().Height());
    list_ = new ListWindow(0, kStyleVisible, splitter_);
    list_->SetName("Channels");
    list_->selectionChanged.Connect(this, &MessageLogWindow::OnSelectionChanged);
    splitter_->SetPanes(list_, nullptr);
    splitter_->SetSplitPosition(kListWidth);
}

void MessageLogWindow::OnResize() {
    if (splitter_) splitter_->SetFrameXYWH(0, 0, Client().Width(), Client().Height());
}

MessageLogWindow::~MessageLogWindow() {
    if (instance_ == this) instance_ = nullptr;
}

bool MessageLogWindow::CanClose(int) {
    SetVisible(false);
    return false;
}

MessageLogWindow::Channel* MessageLogWindow::Find(const std::string& name) const {
    for (const auto& channel : channels_) {
        if (strcasecmp(channel->name.c_str(), name.c_str()) == 0) return channel.get();
    }
    return nullptr;
}

TextBox* MessageLogWindow::ChannelBox(const std::string& name) const {
    Channel* channel = Find(name);
    return channel ? channel->box : nullptr;
}

MessageLogWindow::Channel* MessageLogWindow::Create(const std::string& name) {
    auto channel = std::make_unique<Channel>();
    channel->name = name;
    channel->box = new TextBox(TextBox::kModeReadOnly, splitter_);
    channel->box->SetName(name.c_str());
    channel->box->SetVisible(false);
    channel->row = RowId(channels_.size());
    list_->AddListItem(nullptr, channel->row, ListWindow::kItemText, name);
    channels_.push_back(std::move(channel));
    list_->Sort();
    return channels_.back().get();
}

void MessageLogWindow::ShowChannel(Channel* channel) {
    if (shown_ == channel->box) return;
    if (shown_) shown_->SetVisible(false);
    shown_ = channel->box;
    splitter_->SetPanes(list_, shown_);
    shown_->SetVisible(true);
}

void MessageLogWindow::OnSelectionChanged() {
    const auto& selection = list_->Selection();
    if (selection.size() == 1 && selection.front()->id < channels_.size()) {
        ShowChannel(channels_[size_t(selection.front()->id)].get());
    }
}

void MessageLogWindow::Append(const std::string& name, const std::string& text, int show) {
    Channel* channel = Find(name);
    if (!channel) {
        channel = Create(name);
        list_->SelectListItem(list_->FindItem(channel->row), false);
    }
    ShowChannel(channel);
    channel->box->AppendText(text);
    if (show >= 1) {
        SetVisible(true);
        BringToFront();
        ListWindow::ListItem* item = list_->FindItem(channel->row);
        if (!item->Selected() || list_->Selection().size() != 1) list_->SelectListItem(item, false);
        list_->ScrollToItem(item);
    }
}

void ShowLogViewer() {
    MessageLogWindow* viewer = MessageLogWindow::Get(true);
    if (!viewer) return;
    viewer->SetVisible(true);
    viewer->BringToFront();
    WS().FocusWindow(viewer);
}

}  // namespace tamber::shell
