#pragma once
// Small windowless file services shared by the storage and format libraries.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/Result.h"

struct stat;

namespace tamber::platform {
using namespace tamber::base;

struct FileStatus {
    bool exists = false;
    bool isFolder = false;
    bool readable = false;
    bool writable = false;
    uint64_t size = 0;
    int64_t modifiedNs = 0;
    int64_t changedNs = 0;
    uint64_t inode = 0;  // a file replaced by a rename gets a new one

    bool operator==(const FileStatus&) const = default;
};

struct FolderItem {
    std::string name;
    FileStatus status;
};

FileStatus FileStatusFromStat(const struct stat& st);
FileStatus GetFileStatus(const std::string& path);
// The items of one folder (not recursive) without "." and "..", sorted by name in
// byte order.
Result<std::vector<FolderItem>> ListFolder(const std::string& folder);
// Creates the folder and every missing parent.
Status MakeFolders(const std::string& folder);
// Renames without ever replacing an existing file.
Status RenameNoReplace(const std::string& from, const std::string& to);
// Removes a file; succeeds when it is gone afterwards (also when it never existed).
Status RemoveFileIfPresent(const std::string& path);
// Reads exactly `count` bytes from the start of a regular file and gives the
// file's size.
Result<uint64_t> ReadFileStart(const std::string& path, void* buffer, size_t count);
// Reads exactly `count` bytes at `offset` of an open file, going on after short
// reads; fails at the end of the file or on an error.
Status ReadFileAt(int fd, uint64_t offset, void* buffer, size_t count);
// Size of an open stream's file.
Result<uint64_t> FileSizeOf(std::FILE* file);

}  // namespace tamber::platform
