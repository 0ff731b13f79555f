#pragma once
// Small windowless file services shared by the storage and format libraries.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct stat;

namespace tamber::platform {

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
// byte order. False when the folder cannot be listed.
bool ListFolder(const std::string& folder, std::vector<FolderItem>& items);
// Creates the folder and every missing parent; true when it exists afterwards.
bool MakeFolders(const std::string& folder);
// Renames without ever replacing an existing file; false when the target exists.
bool RenameNoReplace(const std::string& from, const std::string& to);
// Removes a file; true when it is gone afterwards (also when it never existed).
bool RemoveFileIfPresent(const std::string& path);
// Reads exactly `count` bytes from the start of a file and gives its size; false
// when the file cannot be read or is shorter.
bool ReadFileStart(const std::string& path, void* buffer, size_t count, uint64_t& fileSize);
// Reads exactly `count` bytes at `offset` of an open file, going on after short
// reads; false at the end of the file or on an error.
bool ReadFileAt(int fd, uint64_t offset, void* buffer, size_t count);
// Size of an open stream's file, or -1.
int64_t FileSizeOf(std::FILE* file);

}  // namespace tamber::platform
