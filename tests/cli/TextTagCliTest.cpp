// `tag validate` reads the text tags: string lists and texts pass, also a text that
// goes on after a NUL (the editor keeps those bytes and writes them back).
#include <cstdio>

#include "platform/fs/FileSystem.h"
#include "platform/fs/UniqueFile.h"
#include "tags/TagGroups.h"
#include "tags/TagHeader.h"
#include "tests/cli/CliTestSupport.h"

using namespace tamber::platform;
using namespace tamber::tags;

namespace {

// Writes a loose tag into the game's local folder.
void WriteLoose(const std::string& game, const char (&group)[5], const char (&tagid)[5], const std::string& name,
                const std::string& payload) {
    const std::string folder = game + "/local/" + TagGroupFolderName(FourCC(group)) + "/";
    ASSERT_TRUE(MakeFolders(folder));
    TagHeader header{};
    SetTagName(header, name);
    header = MakeLooseHeader(header, FourCC(group), FourCC(tagid));
    header.size = uint32_t(payload.size());
    const UniqueFile file = OpenFile(folder + TagFileName(name), "wb");
    ASSERT_TRUE(file);
    EXPECT_TRUE(WriteTagHeader(header, file.get()));
    EXPECT_EQ(std::fwrite(payload.data(), 1, payload.size(), file.get()), payload.size());
}

}  // namespace

TEST_F(CliTest, ValidateReadsTextTags) {
    WriteLoose(game_, "text", "tgod", "good words", std::string("hello\rworld\r\0\0", 14));
    WriteLoose(game_, "stli", "lst1", "names", std::string("alpha\0beta\0\0gamma\0", 18));
    WriteLoose(game_, "ditl", "dbad", "broken items", std::string("kept\0lost", 9));

    const CliRun run = Run({"tag", "validate", game_});
    for (const char* tag : {"text\ttgod", "stli\tlst1", "ditl\tdbad"})
        EXPECT_EQ(run.out.find(tag), std::string::npos) << run.out;
    EXPECT_NE(run.err.find(" 1 failed,"), std::string::npos) << run.err;  // only the demo's old mesh
}
