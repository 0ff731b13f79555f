#pragma once
// The demo game folder: a deterministic synthetic game folder with archives of
// every type in tags/ and plugins/, and loose tags in local/. Each kind of
// content is added by its own function, so each format adds its tags from its
// own file; GenerateDemoGame calls them all and writes the folder.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "base/Result.h"

namespace tamber::demo {
using namespace tamber::base;

struct DemoTag {
    uint32_t group = 0;
    uint32_t tagid = 0;
    std::string name;
    std::vector<uint8_t> data;
    uint16_t version = 1;
    uint32_t user = 0;
    uint8_t flags = 0;
};

struct DemoArchive {
    std::string folder;    // "tags" or "plugins"
    std::string fileName;
    uint16_t type = 3;
    uint16_t priority = 0;
    std::string name;      // display name
    bool oldVersion = false;
    std::vector<DemoTag> tags;
};

struct DemoLooseTag {
    std::string folder;    // group folder inside local/
    std::string fileName;
    DemoTag tag;
    bool oldVersion = false;
};

struct DemoOptions {
    int extraArchives = 0;  // add-on archives added for scale
    int extraTags = 0;      // spread over the extra archives
    int extraLoose = 0;     // loose files added for scale
    int payloadBytes = 16;  // data size of each scale tag
};

class DemoGame {
public:
    DemoArchive& AddArchive(const std::string& folder, const std::string& fileName, uint16_t type,
                            uint16_t priority, const std::string& name, bool oldVersion = false);
    // The archive with that file name (added first when missing, as a type 3 in tags/).
    DemoArchive& ArchiveNamed(const std::string& fileName);
    void AddLoose(const DemoLooseTag& loose) { loose_.push_back(loose); }
    // Plain files that are not tags (for example model files to import): the
    // writer fills `subfolder` of the game folder, which exists when it is called.
    using FileWriter = std::function<Status(const std::string& folder)>;
    void AddFiles(const std::string& subfolder, FileWriter writer) { files_.push_back({subfolder, std::move(writer)}); }

    // Writes the whole folder beside the target and swaps it in. Refuses to
    // replace or remove a non-empty folder that this generator did not make
    // (its marker file is missing), the target and its ".building" and
    // ".retired" siblings alike.
    Status Write(const std::string& folder) const;

    const std::deque<DemoArchive>& Archives() const { return archives_; }
    const std::vector<DemoLooseTag>& Loose() const { return loose_; }

private:
    Status WriteContent(const std::string& root) const;

    std::deque<DemoArchive> archives_;
    std::vector<DemoLooseTag> loose_;
    std::vector<std::pair<std::string, FileWriter>> files_;
};

// Deterministic filler bytes for a tag's data.
std::vector<uint8_t> DemoBytes(const std::string& seed, size_t size);
// A tag with a tagid made from the name and filler data.
DemoTag MakeDemoTag(uint32_t group, const std::string& name, size_t size);

// Content kinds.
void AddStorageContent(DemoGame& game);                          // archives of every type, loose cases
void AddScaleContent(DemoGame& game, const DemoOptions& options);  // bulk archives and loose files

Status GenerateDemoGame(const std::string& folder, const DemoOptions& options);

}  // namespace tamber::demo
