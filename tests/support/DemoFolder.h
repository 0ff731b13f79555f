#pragma once
// A demo game folder generated in a temporary folder and opened as the Codex's
// game folder for one test; closed and removed afterwards.
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "demo/DemoGame.h"
#include "tags/Codex.h"

namespace test_support {

class DemoFolder {
public:
    DemoFolder() {
        char pattern[] = "/tmp/tamber-demo-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) return;
        root_ = pattern;
        ok_ = bool(tamber::demo::GenerateDemoGame(Game(), tamber::demo::DemoOptions{}));
        tamber::tags::Codex::Instance().Init(Game() + "/");
    }
    ~DemoFolder() {
        tamber::tags::Codex::Instance().Init("/nonexistent-tamber-folder/");
        if (!root_.empty()) std::filesystem::remove_all(root_);
    }
    DemoFolder(const DemoFolder&) = delete;
    DemoFolder& operator=(const DemoFolder&) = delete;

    bool Ok() const { return ok_; }
    std::string Game() const { return root_ + "/game"; }

private:
    std::string root_;
    bool ok_ = false;
};

}  // namespace test_support
