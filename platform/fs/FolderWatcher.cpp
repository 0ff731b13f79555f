#include "platform/fs/FolderWatcher.h"

#include <algorithm>
#include <sys/inotify.h>
#include <unistd.h>

namespace tamber::platform {

namespace {
constexpr uint32_t kWatchMask = IN_CREATE | IN_DELETE | IN_MODIFY | IN_ATTRIB | IN_MOVED_FROM | IN_MOVED_TO |
                                IN_CLOSE_WRITE | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
}

FolderWatcher::FolderWatcher() : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

FolderWatcher::~FolderWatcher() {
    if (fd_ >= 0) ::close(fd_);
}

int FolderWatcher::Add(const std::string& folder) {
    if (fd_ < 0) return -1;
    int id = ::inotify_add_watch(fd_, folder.c_str(), kWatchMask);
    if (id >= 0 && std::find(ids_.begin(), ids_.end(), id) == ids_.end()) ids_.push_back(id);
    return id;
}

void FolderWatcher::Remove(int id) {
    auto it = std::find(ids_.begin(), ids_.end(), id);
    if (it == ids_.end()) return;
    ids_.erase(it);
    ::inotify_rm_watch(fd_, id);
}

void FolderWatcher::RemoveAll() {
    for (int id : ids_) ::inotify_rm_watch(fd_, id);
    ids_.clear();
}

std::vector<int> FolderWatcher::Poll(bool& overflowed) {
    overflowed = false;
    std::vector<int> fired;
    if (fd_ < 0) return fired;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        ssize_t length = ::read(fd_, buffer, sizeof buffer);
        if (length <= 0) break;
        for (ssize_t pos = 0; pos + static_cast<ssize_t>(sizeof(inotify_event)) <= length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + pos);
            if (event->mask & IN_Q_OVERFLOW) overflowed = true;
            const bool watched = std::find(ids_.begin(), ids_.end(), event->wd) != ids_.end();
            if (watched && std::find(fired.begin(), fired.end(), event->wd) == fired.end()) {
                fired.push_back(event->wd);
            }
            if (event->mask & IN_IGNORED) {
                // The kernel dropped the watch (folder deleted or unmounted).
                ids_.erase(std::remove(ids_.begin(), ids_.end(), event->wd), ids_.end());
            }
            pos += sizeof(inotify_event) + event->len;
        }
    }
    return fired;
}

}  // namespace tamber::platform
