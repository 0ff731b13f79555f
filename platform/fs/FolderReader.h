#pragma once
// One open folder: lists it and reads the start of its files by name relative to
// the open folder, which spares a path lookup per file when scanning many files.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/fs/FileSystem.h"

namespace tamber::platform {

class FolderReader {
public:
    explicit FolderReader(const std::string& folder);
    ~FolderReader();
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    // The items without "." and "..", sorted by name in byte order.
    Result<std::vector<FolderItem>> List() const;
    // Reads exactly `count` bytes from the start of a regular file of the folder.
    Status ReadStart(const std::string& name, void* buffer, size_t count) const;
    // Removes a temporary file that no running writer holds (see TemporaryFiles.h).
    bool RemoveStaleTemporary(const std::string& name) const;

private:
    std::string folder_;
    int fd_ = -1;
    int openError_ = 0;
};

}  // namespace tamber::platform
