#pragma once
// Shared helpers for the editing tests: a scratch game folder indexed by the Codex,
// loose tags written through the tags library, and a small text payload format
// ("TXT1" then the text) that readers check.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/fs/FileSystem.h"
#include "tags/Codex.h"
#include "tags/TagOperations.h"

using namespace tamber::platform;
using namespace tamber::tags;

constexpr uint32_t kTestGroup = FourCC("text");

class ScratchGame {
public:
    ScratchGame() {
        char pattern[] = "/tmp/tamber-editing-XXXXXX";
        path_ = ::mkdtemp(pattern);
        path_ += "/";
        EXPECT_TRUE(MakeFolders(path_ + "local"));
        Codex::Instance().Init(path_);
    }
    ~ScratchGame() {
        Codex::Instance().Init("/nonexistent-tamber-folder/");
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::string& Path() const { return path_; }
    std::string LoosePath(const std::string& name) const { return Codex::Instance().LocalTagPath(kTestGroup, name); }

private:
    std::string path_;
};

inline int WriteTextPayload(FILE* stream, const std::string& text) {
    return std::fwrite("TXT1", 1, 4, stream) == 4 && std::fwrite(text.data(), 1, text.size(), stream) == text.size();
}

// Reads the text of a payload; false when the magic is missing or the data short.
inline bool ReadTextPayload(FILE* stream, const TagHeader& header, std::string& text) {
    if (header.size < 4 || header.size > (1u << 20) || std::fseek(stream, header.offset, SEEK_SET) != 0) return false;
    std::string bytes(header.size, '\0');
    if (std::fread(bytes.data(), 1, bytes.size(), stream) != bytes.size() || bytes.compare(0, 4, "TXT1") != 0) return false;
    text = bytes.substr(4);
    return true;
}

// Writes a loose tag through the tags library; raw payload bytes as given.
inline TagRecord* MakeLooseTag(const std::string& name, const std::string& payload, uint32_t group = kTestGroup) {
    Codex& codex = Codex::Instance();
    Result<NewTag> created = CreateTag(codex, group, std::nullopt, name, false);
    if (!created) return nullptr;
    TagRecord* record = created->record;
    const TagHeader header = created->header;
    Result<FILE*> stream = BeginTagWrite(codex, record, header);
    const bool written = stream && std::fwrite(payload.data(), 1, payload.size(), *stream) == payload.size();
    if (!FinishTagWrite(codex, record, &header, written)) return nullptr;
    codex.RefreshLocalFolder(true);
    return codex.FindTag(group, record->tagid);
}

inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The payload of a loose tag file, past its 64-byte header.
inline std::string LoosePayload(const std::string& path) {
    const std::string bytes = FileBytes(path);
    return bytes.size() < kTagHeaderSize ? std::string() : bytes.substr(kTagHeaderSize);
}
