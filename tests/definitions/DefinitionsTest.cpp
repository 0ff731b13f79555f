// Structure definitions: member placement, descriptors, value conversions with
// lower bounds and limits, file loading order and hostile definitions.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "editing/definitions/DefinitionFiles.h"
#include "editing/definitions/StructValues.h"
#include "base/MessageLog.h"
#include "tags/FourCC.h"
#include "tests/support/ScratchFolder.h"

#include <tinyxml.h>

using namespace tamber::definitions;
using namespace tamber::base;
using namespace tamber::tags;

namespace {

std::string Document(const std::string& body) { return "<?xml version=\"1.0\"?><tamberxmlfile>" + body + "</tamberxmlfile>"; }

const StructDefinition& Define(const std::string& body, const char* name) {
    ClearDefinitions();
    EXPECT_TRUE(AddDefinitionDocument("test.xml", Document(body)));
    const StructDefinition* definition = FindStruct(name);
    EXPECT_NE(definition, nullptr);
    return *definition;
}

struct Record {
    explicit Record(const StructDefinition& definition) : bytes(size_t(definition.Size())), view{&definition, bytes.data()} {}
    const StructMember& operator[](const char* name) const { return *FindMember(*view.definition, name); }
    std::vector<uint8_t> bytes;
    StructView view;
};

}  // namespace

TEST(Definitions, MembersArePlacedAndDescribed) {
    const StructDefinition& padded = Define("<struct name='p'><padding count='12'/><short name='s'/></struct>", "p");
    EXPECT_EQ(padded.Size(), 14);
    EXPECT_EQ(FindMember(padded, "s")->offset, 12);

    // Padding reads back as zero whatever the file holds; the short is swapped.
    uint8_t disk[14];
    std::memset(disk, 0xAB, sizeof disk);
    disk[12] = 0x01, disk[13] = 0x02;
    Record record(padded);
    UnpackRecord(padded, record.bytes.data(), disk);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(record.bytes[size_t(i)], 0) << i;
    EXPECT_EQ(ReadMemberInt(record.view, record["s"], 0), 0x0102);

    const StructDefinition& colour =
        Define("<struct name='c'><color name='tint' count='7'/><bogus count='9'/><byte name='b'/></struct>", "c");
    EXPECT_EQ(FindMember(colour, "tint")->count, 4);
    EXPECT_EQ(FindMember(colour, "b")->offset, 8);  // the unknown element took no space
    EXPECT_EQ(colour.Size(), 9);
    EXPECT_EQ(std::string(FindMember(colour, "tint")->GetClassName()), "Object");

    ClearDefinitions();
    ASSERT_TRUE(AddDefinitionDocument("n.xml", Document("<struct name='in'><word name='w'/><padding count='2'/></struct>"
                                                        "<struct name='out'><long name='l'/><substruct name='s' struct='in' count='3'/>"
                                                        "<word name='none' count='0'/><tag name='t' group='soun'/><tag name='x' group='toolong'/></struct>")));
    const StructDefinition& outer = *FindStruct("out");
    EXPECT_EQ(outer.Size(), 4 + 3 * 4 + 2 * 4);
    const std::vector<uint16_t> expected = {24, 1, 2, 3, 32, 4, 1, 1, 2, 4, 1, 2, 1, 2};
    EXPECT_EQ(outer.Descriptor(), expected);
    EXPECT_EQ(static_cast<const TagMember*>(FindMember(outer, "t"))->group, FourCC("soun"));
    EXPECT_EQ(static_cast<const TagMember*>(FindMember(outer, "x"))->group, 0xFFFFFFFFu);

    // A record survives a write and a read through a file, nested words swapped.
    Record original(outer);
    WriteMemberInt(original.view, original["l"], 0, -5);
    const StructMember& nestedWord = *FindMember(*FindMember(outer, "s")->nested, "w");
    StructView second{FindMember(outer, "s")->nested, ElementAddress(original.view, original["s"], 1), &original.view};
    WriteMemberInt(second, nestedWord, 0, 0x1234);
    FILE* file = std::tmpfile();
    ASSERT_TRUE(WriteRecord(outer, original.bytes.data(), file));
    std::rewind(file);
    uint8_t raw[24];
    ASSERT_EQ(std::fread(raw, 1, 24, file), 24u);
    EXPECT_EQ(raw[8], 0x12);
    EXPECT_EQ(raw[9], 0x34);
    std::rewind(file);
    Record copy(outer);
    ASSERT_TRUE(ReadRecord(outer, copy.bytes.data(), file));
    EXPECT_EQ(copy.bytes, original.bytes);
    // Nothing left: a short read fails.
    const Status shortRead = ReadRecord(outer, copy.bytes.data(), file);
    ASSERT_FALSE(shortRead);
    EXPECT_EQ(shortRead.error(), "couldn't read a '" + outer.Name() + "' record: the data ends before its 24 bytes");
    std::fclose(file);
}

TEST(Definitions, ValuesConvertWithBoundsAndLimits) {
    const StructDefinition& definition = Define(
        "<struct name='v'><word name='b'/><word name='w' lower_bound='b'/><byte name='u'/><char name='c'/>"
        "<angle name='a'/><long_time name='t'/><angular_velocity name='s' digits='5'/><short_world name='h' digits='1'/>"
        "<real name='r' digits='2'/><ulong name='flags'/><word name='loop1' lower_bound='loop2'/>"
        "<word name='loop2' lower_bound='loop1'/></struct>",
        "v");
    Record r(definition);
    const StructMember& w = r["w"];
    WriteMemberInt(r.view, r["b"], 0, 10);
    auto setStored = [&](uint16_t value) { std::memcpy(r.bytes.data() + w.offset, &value, 2); };
    auto stored = [&] { return LoadElement(r.view, w, 0); };
    setStored(0);
    EXPECT_EQ(ReadMemberInt(r.view, w, 0), 10);
    setStored(1);
    EXPECT_EQ(ReadMemberInt(r.view, w, 0), 10);
    setStored(5);
    EXPECT_EQ(ReadMemberInt(r.view, w, 0), 14);
    WriteMemberInt(r.view, w, 0, 10);
    EXPECT_EQ(stored(), 0);
    WriteMemberDisplay(r.view, w, 0, 14.0);
    EXPECT_EQ(stored(), 5);

    WriteMemberDisplay(r.view, r["u"], 0, 300);
    EXPECT_EQ(ReadMemberInt(r.view, r["u"], 0), 255);
    WriteMemberDisplay(r.view, r["u"], 0, -3);
    EXPECT_EQ(ReadMemberInt(r.view, r["u"], 0), 0);
    WriteMemberDisplay(r.view, r["c"], 0, 200);
    EXPECT_EQ(ReadMemberInt(r.view, r["c"], 0), 127);
    WriteMemberDisplay(r.view, r["c"], 0, -200);
    EXPECT_EQ(ReadMemberInt(r.view, r["c"], 0), -128);

    WriteMemberInt(r.view, r["a"], 0, 16384);
    EXPECT_EQ(ReadMemberDisplay(r.view, r["a"], 0), 90);
    WriteMemberDisplay(r.view, r["a"], 0, 45.4);
    EXPECT_EQ(ReadMemberInt(r.view, r["a"], 0), 8265);
    WriteMemberInt(r.view, r["a"], 0, -100);  // -0.549 degrees rounds away from zero to -1
    EXPECT_EQ(ReadMemberDisplay(r.view, r["a"], 0), -1);

    WriteMemberInt(r.view, r["t"], 0, 45);
    EXPECT_DOUBLE_EQ(ReadMemberDisplay(r.view, r["t"], 0), 1.5);
    WriteMemberDisplay(r.view, r["t"], 0, -2.0);
    EXPECT_EQ(ReadMemberInt(r.view, r["t"], 0), -60);
    WriteMemberDisplay(r.view, r["t"], 0, 1e30);  // limited to the 32-bit range
    EXPECT_EQ(ReadMemberInt(r.view, r["t"], 0), INT32_MAX);

    EXPECT_EQ(DisplayDigits(r["s"]), 0);  // angular velocities show whole degrees
    WriteMemberInt(r.view, r["h"], 0, -256);
    EXPECT_DOUBLE_EQ(ReadMemberDisplay(r.view, r["h"], 0), -0.5);
    WriteMemberDisplay(r.view, r["r"], 0, 2.345);
    EXPECT_DOUBLE_EQ(ReadMemberDisplay(r.view, r["r"], 0), 2.35);

    WriteMemberBit(r.view, r["flags"], 0, 31, true);
    WriteMemberBit(r.view, r["flags"], 0, 2, true);
    EXPECT_EQ(ReadMemberInt(r.view, r["flags"], 0), 0x80000004);
    WriteMemberBit(r.view, r["flags"], 0, 31, false);
    EXPECT_FALSE(ReadMemberBit(r.view, r["flags"], 0, 31));
    EXPECT_TRUE(ReadMemberBit(r.view, r["flags"], 0, 2));

    // Bounds that name each other end instead of recursing forever.
    WriteMemberInt(r.view, r["loop1"], 0, 3);
    EXPECT_EQ(LoadElement(r.view, r["loop1"], 0), 4);
    // Out-of-range elements neither read nor write.
    WriteMemberInt(r.view, w, 5, 99);
    EXPECT_EQ(ReadMemberInt(r.view, w, 5), 0);
}

TEST(Definitions, FilesLoadInSortedOrderAndHostileDefinitionsAreSkipped) {
    Scratch folder;
    folder.Write("b.xml", Document("<struct name='same'><long name='second'/></struct><structedit struct='same' caption='B'/>"));
    folder.Write("a.xml", Document("<struct name='same'><word name='first'/></struct><struct><long/></struct>"
                                   "<structedit struct='same' caption='A'/>"));
    folder.Write("c.xml", "<notxml");
    folder.Write("d.xml", "<?xml version=\"1.0\"?><other><struct name='ignored'/></other>");
    folder.Write("e.xml", Document("<struct name='broken'><substruct name='s' struct='later'/></struct><struct name='later'/>"
                                   "<struct name='huge'><long count='9000'/></struct>"
                                   "<struct name='negative'><long count='-2'/></struct>"));
    folder.Write("f.xml", Document(std::string(5000, '<') + "x"));
    std::filesystem::create_directory(folder.Path() + "/sub");
    folder.Write("sub/z.xml", Document("<struct name='nested_folder'/>"));

    MessageLog::Instance().Clear();
    EXPECT_EQ(LoadDefinitionFiles(folder.Path()).value(), 3);
    EXPECT_EQ(StructDefinitionNames(), (std::vector<std::string>{"same", "same", "later"}));
    ASSERT_NE(FindStruct("same"), nullptr);
    EXPECT_NE(FindMember(*FindStruct("same"), "first"), nullptr);
    EXPECT_EQ(FindStructEdit("same")->Attribute("caption"), std::string("A"));
    EXPECT_EQ(FindStruct("SAME"), nullptr);
    EXPECT_EQ(FindStruct("ignored"), nullptr);
    EXPECT_EQ(FindStruct("broken"), nullptr);
    EXPECT_EQ(FindStruct("huge"), nullptr);
    EXPECT_EQ(FindStruct("nested_folder"), nullptr);

    const MessageLog::Channel* codex = MessageLog::Instance().Find("Codex");
    ASSERT_NE(codex, nullptr);
    EXPECT_NE(codex->text.find("e.xml: struct 'broken' skipped"), std::string::npos);
    EXPECT_NE(codex->text.find("'later'"), std::string::npos);
    EXPECT_NE(codex->text.find("struct 'huge' skipped"), std::string::npos);
    EXPECT_NE(codex->text.find("struct 'negative' skipped"), std::string::npos);
    // The files passed over say why when added one by one.
    EXPECT_EQ(AddDefinitionDocument("d.xml", "<other/>").error(), "'d.xml' has no top-level tamberxmlfile element");
    EXPECT_EQ(AddDefinitionDocument("f.xml", Document(std::string(5000, '<') + "x")).error(),
              "'f.xml' is nested more than 256 elements deep");
    EXPECT_NE(AddDefinitionDocument("g.xml", "<tamberxmlfile><a></b></tamberxmlfile>").error().find("'g.xml' is not valid XML"),
              std::string::npos);

    // Reloading starts over.
    folder.Write("a.xml", "");
    EXPECT_EQ(LoadDefinitionFiles(folder.Path()).value(), 2);
    EXPECT_NE(FindMember(*FindStruct("same"), "second"), nullptr);
    // A missing folder fails, and leaves no definitions from before.
    const Result<int> missing = LoadDefinitionFiles(folder.Path() + "/missing");
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.error().find("couldn't list the definitions folder"), std::string::npos) << missing.error();
    EXPECT_TRUE(StructDefinitionNames().empty());
}

TEST(Definitions, TestDefinitionUsesEveryMemberType) {
    Scratch folder;
    std::filesystem::copy_file(TAMBER_SOURCE_DIR "/tests/definitions/wind.xml", folder.Path() + "/wind.xml");
    ASSERT_EQ(LoadDefinitionFiles(folder.Path()).value(), 3);
    const StructDefinition& wind = *FindStruct("wind");
    std::vector<bool> seen(size_t(MemberType::Color) + 1);
    for (const char* name : {"wind", "WindEntry"}) {
        for (const auto& member : FindStruct(name)->Members()) seen[size_t(member->type)] = true;
    }
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_TRUE(seen[i]) << GetMemberTypeInfo(MemberType(i)).keyword;
    EXPECT_EQ(wind.Size(), 111);
    EXPECT_NE(FindStructEdit("wind"), nullptr);
    const auto& mode = static_cast<const EnumMember&>(*FindMember(wind, "mode"));
    ASSERT_EQ(mode.items.size(), 3u);
    EXPECT_EQ(mode.IndexOfValue(5), 2);
    EXPECT_EQ(mode.IndexOfValue(4), -1);
}

TEST(Definitions, ShippedDefinitionsMatchTheirPayloads) {
    ASSERT_GE(LoadDefinitionFiles(TAMBER_SOURCE_DIR "/res").value(), 1);
    // The collection reference written by model import is 384 bytes; its collection comes first.
    const StructDefinition* core = FindStruct("core");
    ASSERT_NE(core, nullptr);
    EXPECT_EQ(core->Size(), 384);
    EXPECT_EQ(core->Members().front()->type, MemberType::Tag);
    EXPECT_EQ(static_cast<const TagMember&>(*core->Members().front()).group, FourCC(".256"));
    EXPECT_NE(FindStructEdit("core"), nullptr);
    // Every byte is kept: nothing of a reference is padding.
    for (const auto& member : core->Members()) EXPECT_NE(member->type, MemberType::Padding);
}

TEST(Definitions, GuideExampleLoadsAsDescribed) {
    std::ifstream in(TAMBER_SOURCE_DIR "/docs/structure-definitions.md");
    const std::string guide{std::istreambuf_iterator<char>(in), {}};
    const size_t start = guide.find("```xml\n");
    ASSERT_NE(start, std::string::npos);
    const size_t end = guide.find("```", start + 7);
    ClearDefinitions();
    ASSERT_TRUE(AddDefinitionDocument("guide.xml", guide.substr(start + 7, end - start - 7)));
    const StructDefinition* wind = FindStruct("wind");
    ASSERT_NE(wind, nullptr);
    EXPECT_EQ(wind->Size(), 66);
    EXPECT_NE(FindStructEdit("wind"), nullptr);
    EXPECT_NE(FindStructEdit("GustStep"), nullptr);
}
