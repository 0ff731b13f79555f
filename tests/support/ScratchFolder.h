#pragma once
// A temporary folder for one test, removed with everything in it afterwards.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace test_support {

class Scratch {
public:
    Scratch() {
        char pattern[] = "/tmp/tamber-fs-XXXXXX";
        path_ = ::mkdtemp(pattern);
    }
    ~Scratch() { std::filesystem::remove_all(path_); }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Path() const { return path_; }
    void Write(const std::string& name, const std::string& text) const { std::ofstream(path_ + "/" + name) << text; }
    size_t Count() const {
        size_t n = 0;
        for (auto it = std::filesystem::directory_iterator(path_); it != std::filesystem::directory_iterator(); ++it) ++n;
        return n;
    }

private:
    std::string path_;
};

}  // namespace test_support

using test_support::Scratch;
