#pragma once
// Shared helpers for the tag storage tests: a scratch folder, archive and loose
// file builders, and an event recorder.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "demo/DemoGame.h"
#include "demo/DemoOldArchive.h"
#include "platform/fs/FileSystem.h"
#include "base/MessageLog.h"
#include "tags/ArchiveWriter.h"
#include "tags/Codex.h"
#include "tags/TagGroups.h"

using namespace tamber::demo;
using namespace tamber::platform;
using namespace tamber::base;
using namespace tamber::tags;

class ScratchFolder {
public:
    ScratchFolder() {
        char pattern[] = "/tmp/tamber-tags-XXXXXX";
        path_ = ::mkdtemp(pattern);
        path_ += "/";
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

inline TagHeader TestHeader(uint32_t group, uint32_t tagid, const std::string& name) {
    TagHeader h{};
    SetTagName(h, name);
    h.group = group;
    h.tagid = tagid;
    h.version = 1;
    h.signature = kTagSignature;
    return h;
}

struct TestTag {
    uint32_t group;
    uint32_t tagid;
    std::string name;
    std::string data;
};

inline Status WriteTestArchive(const std::string& path, uint16_t type, uint16_t priority, const std::vector<TestTag>& tags) {
    std::vector<ArchiveItem> items;
    for (const TestTag& t : tags) {
        items.push_back({TestHeader(t.group, t.tagid, t.name), reinterpret_cast<const uint8_t*>(t.data.data()), t.data.size()});
    }
    ArchiveHeader header{};
    header.type = type;
    header.priority = priority;
    std::strcpy(header.name, "test archive");
    if (Status made = MakeFolders(path.substr(0, path.rfind('/'))); !made) return made;
    return WriteArchive(path, header, items, false);
}

inline Status WriteTestOldArchive(const std::string& path, const std::vector<TestTag>& tags) {
    std::vector<ArchiveItem> items;
    for (const TestTag& t : tags) {
        items.push_back({TestHeader(t.group, t.tagid, t.name), reinterpret_cast<const uint8_t*>(t.data.data()), t.data.size()});
    }
    if (Status made = MakeFolders(path.substr(0, path.rfind('/'))); !made) return made;
    return WriteOldArchive(path, "old archive", items);
}

// Writes a loose tag file: current header (or raw header bytes given) and data.
inline void WriteLooseTag(const std::string& path, const TagHeader& header, const std::string& data) {
    ASSERT_TRUE(MakeFolders(path.substr(0, path.rfind('/'))));
    const UniqueFile f = OpenFile(path, "wb");
    ASSERT_TRUE(f);
    TagHeader h = MakeLooseHeader(header, header.group, header.tagid);
    h.size = static_cast<uint32_t>(data.size());
    EXPECT_TRUE(WriteTagHeader(h, f.get()));
    EXPECT_EQ(data.size(), std::fwrite(data.data(), 1, data.size(), f.get()));
}

// Writes an old-version (vesk) loose tag file.
inline void WriteOldLooseTag(const std::string& path, uint32_t group, uint32_t tagid, const std::string& name,
                             uint32_t version, const std::string& data) {
    OldTagHeader old{};
    std::strncpy(old.name, name.c_str(), sizeof old.name - 1);
    old.group = group;
    old.tagid = tagid;
    old.version = version;
    old.offset = 64;
    old.size = static_cast<uint32_t>(data.size());
    old.signature = kOldTagSignature;
    ASSERT_TRUE(MakeFolders(path.substr(0, path.rfind('/'))));
    const UniqueFile f = OpenFile(path, "wb");
    ASSERT_TRUE(f);
    WriteRecords(&old, 1, kOldTagHeaderDescriptor, f.get());
    std::fwrite(data.data(), 1, data.size(), f.get());
}

inline std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline std::string CodexLog() {
    const MessageLog::Channel* c = MessageLog::Instance().Find("Codex");
    return c ? c->text : std::string();
}

struct EventRecorder {
    struct Seen {
        int code;
        TagRecord* record;
        Archive* archive;
    };
    std::vector<Seen> events;
    static void Callback(const CodexEvent& e, void* context) {
        static_cast<EventRecorder*>(context)->events.push_back({e.code, e.record, e.archive});
    }
    std::vector<int> Codes() const {
        std::vector<int> codes;
        for (const Seen& s : events) codes.push_back(s.code);
        return codes;
    }
};

// Reads a tag's current data through the Codex.
inline std::string ReadTagData(Codex& codex, TagRecord* record) {
    Result<FILE*> f = codex.OpenTagData(record);
    if (!f) return "<none>";
    const uint32_t size = codex.CurrentEntry(record)->header.size;
    std::string data(size, '\0');
    if (size && std::fread(data.data(), 1, size, *f) != size) data = "<short>";
    codex.CloseTagData(record);
    return data;
}
