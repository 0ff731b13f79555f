// `tag validate` reads the text tags: string lists and texts that the editor can
// open pass, a text that goes on after a NUL (which saving would cut) is listed.
#include <cstdio>

#include "platform/fs/FileSystem.h"
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
    FILE* file = std::fopen((folder + TagFileName(name)).c_str(), "wb");
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(WriteTagHeader(header, file));
    EXPECT_EQ(std::fwrite(payload.data(), 1, payload.size(), file), payload.size());
    std::fclose(file);
}

}  // namespace

TEST_F(CliTest, ValidateReadsTextTags) {
    WriteLoose(game_, "text", "tgod", "good words", std::string("hello\rworld\r\0\0", 14));
    WriteLoose(game_, "stli", "lst1", "names", std::string("alpha\0beta\0\0gamma\0", 18));
    WriteLoose(game_, "ditl", "dbad", "broken items", std::string("kept\0lost", 9));

    const CliRun run = Run({"tag", "validate", game_});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out.find("text\ttgod"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("stli\tlst1"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("ditl\tdbad\tbroken items\tlocal folder\ttext continues after a NUL byte\n"),
              std::string::npos)
        << run.out;
}
