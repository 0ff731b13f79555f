#pragma once
// Change notifications for a set of folders (file names, attributes and write
// times of their direct contents; not sub-folders), read without blocking.
#include <string>
#include <vector>

namespace tamber::platform {

class FolderWatcher {
public:
    FolderWatcher();
    ~FolderWatcher();
    FolderWatcher(const FolderWatcher&) = delete;
    FolderWatcher& operator=(const FolderWatcher&) = delete;

    bool IsAvailable() const { return fd_ >= 0; }
    // Starts watching an existing folder; returns its watch id, or -1.
    int Add(const std::string& folder);
    void Remove(int id);
    void RemoveAll();

    // Drains the pending notifications and returns the ids of the folders that
    // changed, each once. `overflowed` is set when notifications were lost, in
    // which case every folder must be treated as changed.
    std::vector<int> Poll(bool& overflowed);

private:
    int fd_ = -1;
    std::vector<int> ids_;
};

}  // namespace tamber::platform
