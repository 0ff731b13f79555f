#pragma once
// An owned stdio stream: closed when the owner goes, so no path forgets fclose.
#include <cstdio>
#include <memory>
#include <string>

namespace tamber::platform {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// fopen's result, owned; null when the file cannot be opened (errno says why).
inline UniqueFile OpenFile(const std::string& path, const char* mode) {
    return UniqueFile(std::fopen(path.c_str(), mode));
}

}  // namespace tamber::platform
