#pragma once
// Shared by the structure editor tests: the test definitions of wind.xml, loose
// tags of any group, and collection tags with named sequences.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "collections/CollectionFile.h"
#include "editing/definitions/DefinitionFiles.h"
#include "tags/Codex.h"
#include "tags/TagOperations.h"
#include "tests/ui/support/UiTestDriver.h"

using namespace tamber::collections;
using namespace tamber::definitions;
using namespace tamber::tags;

constexpr uint32_t kWindGroup = FourCC("wind");
constexpr size_t kWindSize = 111;
// Offsets in the wind record.
constexpr size_t kWindDuration = 8;
constexpr size_t kWindCollection = 55;
constexpr size_t kWindSequence = 59;
constexpr size_t kWindAlternate = 61;
constexpr size_t kWindRange = 67;
constexpr size_t kWindEntryCount = 71;
constexpr size_t kWindEntries = 73;
constexpr size_t kWindEntrySize = 10;

// Replaces the definitions with the test definitions (plus extra documents).
inline void LoadTestDefinitions(const std::vector<std::string>& extraDocuments = {}) {
    std::ifstream in(TAMBER_SOURCE_DIR "/tests/definitions/wind.xml", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    ClearDefinitions();
    ASSERT_TRUE(AddDefinitionDocument("wind.xml", text));
    for (const std::string& document : extraDocuments) ASSERT_TRUE(AddDefinitionDocument("extra.xml", document));
}

inline void PutBe16(std::vector<uint8_t>& bytes, size_t at, uint16_t value) {
    bytes[at] = uint8_t(value >> 8);
    bytes[at + 1] = uint8_t(value);
}

inline void PutBe32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = uint8_t(value >> (24 - 8 * i));
}

inline uint32_t GetBe32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value = value << 8 | uint8_t(bytes[at + i]);
    return value;
}

// A loose tag of any group, indexed by the Codex.
inline TagRecord* MakeGroupTag(uint32_t group, const std::string& name, const std::vector<uint8_t>& payload,
                               uint32_t user = 0) {
    Codex& codex = Codex::Instance();
    Result<NewTag> created = CreateTag(codex, group, std::nullopt, name, false);
    if (!created) return nullptr;
    TagRecord* record = created->record;
    TagHeader header = created->header;
    header.user = user;
    Result<FILE*> stream = BeginTagWrite(codex, record, header);
    const bool written = stream && std::fwrite(payload.data(), 1, payload.size(), *stream) == payload.size();
    if (!FinishTagWrite(codex, record, &header, written)) return nullptr;
    codex.RefreshLocalFolder(true);
    return codex.FindTag(group, record->tagid);
}

// A collection tag holding only sequences with these names.
inline TagRecord* MakeCollectionTag(const std::string& name, const std::vector<std::string>& sequences) {
    Collection collection;
    for (const std::string& sequenceName : sequences) {
        Sequence sequence;
        sequence.name = sequenceName;
        collection.sequences.push_back(sequence);
    }
    tamber::base::Result<CollectionPayload> written = WriteCollection(collection);
    if (!written) return nullptr;
    return MakeGroupTag(kCollectionGroupCode, name, written->bytes, written->fields.user);
}

// Replaces the whole text of the box at the window path, as a user would.
inline void ReplaceText(UiTestDriver& ui, const char* path, const std::string& text) {
    ui.click(path);
    ui.key('A', kModCtrl);
    ui.type(text);
}
