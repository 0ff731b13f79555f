// Inputs and outputs a hostile user or a failing machine gives the commands:
// special files as input, unreadable loose tags, links out of the chosen folder,
// damaged bitmaps, and inputs that hold nothing to convert.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/fs/FileSystem.h"
#include "tests/cli/CliTestSupport.h"

using namespace tamber::platform;
namespace fs = std::filesystem;

namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A loose collection tag whose every bitmap is damaged (its bitmaps read as placeholders).
void WriteDamagedCollection(const std::string& path) {
    std::ifstream in(std::string(TAMBER_SOURCE_DIR) + "/fuzz/corpus/collection_reader/huge_placeholders",
                     std::ios::binary);
    const std::string payload((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(payload.empty());
    std::string header(64, '\0');
    header[0] = header[1] = char(0xFF);
    header.replace(4, 15, "damaged sprites");
    header.replace(36, 8, ".256dmgd");
    const uint32_t fields[] = {64, uint32_t(payload.size())};
    for (int f = 0; f < 2; ++f)
        for (int b = 0; b < 4; ++b) header[size_t(44 + f * 4 + b)] = char(fields[f] >> (24 - 8 * b));
    header[57] = 1;
    header[58] = header[59] = char(0xFF);
    header.replace(60, 4, "vsk2");
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << header << payload;
}

// A 1 x 1 24-bit BMP.
void WriteTinyBmp(const std::string& path) {
    const uint8_t bytes[58] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0,
                               1, 0, 24, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0,
                               0, 0, 0, 0, 10, 20, 30, 0};
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

}  // namespace

TEST_F(CliTest, SpecialFilesAsInputAreRefusedAtOnce) {
    runPrefix_ = "timeout 20 ";  // a reader that blocks shows as status 124
    const std::string fifo = root_ + "/pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string sparse = root_ + "/sparse.3dmf";
    {
        std::ofstream(sparse) << "3DMetafile ( 1 6 Normal toc0> )\n";
    }
    fs::resize_file(sparse, uintmax_t(1) << 30);
    const std::string out = root_ + "/out";
    for (const std::string& input : {fifo, root_, sparse}) {
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"image", "info", input}, {"collection", "info", input}, {"sound", "info", input},
              {"tag", "info", input}, {"archive", "list", input}, {"model", "convert", input, out},
              {"dtex", "import", input, "piped", game_}}) {
            const CliRun run = Run(command);
            EXPECT_EQ(run.status, 1) << command[0] << " " << command[1] << " " << input << ": " << run.err;
        }
    }
    EXPECT_FALSE(fs::exists(game_ + "/local/detail textures/piped"));
    const CliRun fromPipe = Run({"collection", "info", fifo});
    EXPECT_TRUE(Has(fromPipe.err, "it is not a regular file")) << fromPipe.err;
}

TEST_F(CliTest, InputsWithoutContentAndDamagedBitmaps) {
    // A 3D Metafile with no mesh is an error, and nothing is written.
    const std::string empty = root_ + "/empty.3dmf";
    std::ofstream(empty) << "3DMetafile";
    const CliRun model = Run({"model", "convert", empty, root_ + "/objects"});
    EXPECT_EQ(model.status, 1);
    EXPECT_TRUE(Has(model.err, "holds no mesh")) << model.err;
    EXPECT_FALSE(fs::exists(root_ + "/objects/empty.lwo"));

    // Damage is a warning: the check fails only for tags that do not read.
    const std::string damaged = game_ + "/local/collections/damaged sprites";
    WriteDamagedCollection(damaged);
    const CliRun checked = Run({"tag", "validate", game_});
    EXPECT_TRUE(Has(checked.out, ".256\tdmgd\tdamaged sprites\tlocal folder\tWARNING: bitmap 0 is damaged")) << checked.out;
    EXPECT_TRUE(Has(checked.err, "1 with warnings")) << checked.err;
    fs::remove(damaged);
    const CliRun without = Run({"tag", "validate", game_});
    EXPECT_EQ(without.status, checked.status);
    EXPECT_FALSE(Has(without.out, "WARNING"));

    // The export agrees with its warning: a damaged bitmap is not written.
    WriteDamagedCollection(damaged);
    const CliRun exported = Run({"collection", "export", damaged, root_ + "/frames"});
    EXPECT_EQ(exported.status, 0) << exported.err;
    EXPECT_TRUE(Has(exported.err, "WARNING: bitmap 0 is damaged and was not exported")) << exported.err;
    EXPECT_FALSE(fs::exists(root_ + "/frames/bitmap #0000.png"));

    // Every export makes its folder.
    const CliRun dtex = Run({"dtex", "export", game_, "dtex", "gras", root_ + "/new/folder/grass.png"});
    EXPECT_EQ(dtex.status, 0) << dtex.err;
    EXPECT_TRUE(fs::exists(root_ + "/new/folder/grass.png"));
}

TEST_F(CliTest, UnreadableLooseTagsAreNeverLeftOutInSilence) {
    const std::string wind = game_ + "/local/sounds/demo wind";
    ASSERT_EQ(::chmod(wind.c_str(), 0), 0);
    // Root reads any file: the commands run as an unprivileged user instead.
    if (::geteuid() == 0) {
        ASSERT_EQ(::chmod(root_.c_str(), 0777), 0);
        fs::permissions(game_ + "/plugins", fs::perms::all, fs::perm_options::add);
        runPrefix_ = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    }
    const CliRun addon = Run({"addon", game_, "--name", "pack", "--url", "u"});
    EXPECT_EQ(addon.status, 1);
    EXPECT_TRUE(Has(addon.err, "The local file '" + game_ + "/local/sounds/demo wind' could not be read (Permission denied)"))
        << addon.err;
    EXPECT_FALSE(fs::exists(game_ + "/plugins/pack"));
    const CliRun validate = Run({"tag", "validate", game_});
    EXPECT_EQ(validate.status, 1);
    EXPECT_TRUE(Has(validate.out, "soun\t????\tdemo wind\tlocal folder\tPermission denied\n")) << validate.out;
    const CliRun codex = Run({"codex", game_});
    EXPECT_TRUE(Has(codex.err, "Codex: couldn't open local file '" + wind + "' for reading: Permission denied"))
        << codex.err;
}

TEST_F(CliTest, WritesNeverFollowLinksOutOfTheChosenFolder) {
    const std::string elsewhere = root_ + "/elsewhere";
    fs::create_directories(elsewhere);
    const std::string dest = root_ + "/unpacked";
    fs::create_directories(dest);
    fs::create_directory_symlink(elsewhere, dest + "/text");
    const CliRun extract = Run({"archive", "extract", game_ + "/plugins/alpha.dng", dest});
    EXPECT_EQ(extract.status, 1);
    EXPECT_TRUE(Has(extract.err, "ERROR: '" + dest + "/text' leads out of '" + dest + "' through a symbolic link"))
        << extract.err;
    EXPECT_TRUE(fs::is_empty(elsewhere));

    fs::rename(game_ + "/plugins", root_ + "/real plugins");
    fs::create_directory_symlink(root_ + "/real plugins", game_ + "/plugins");
    const CliRun addon = Run({"addon", game_, "--name", "linked", "--url", "u"});
    EXPECT_EQ(addon.status, 1);
    EXPECT_TRUE(Has(addon.err, "leads out of")) << addon.err;
    EXPECT_FALSE(fs::exists(root_ + "/real plugins/linked"));
}

TEST_F(CliTest, ImageConversionFailsOnFoldersItCannotList) {
    const std::string source = root_ + "/renders";
    fs::create_directories(source + "/locked");
    WriteTinyBmp(source + "/a.bmp");
    WriteTinyBmp(source + "/locked/b.bmp");
    ASSERT_EQ(::chmod((source + "/locked").c_str(), 0), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chmod(root_.c_str(), 0777), 0);
        runPrefix_ = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    }
    const CliRun run = Run({"image", "convert", source, root_ + "/converted"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Has(run.out + run.err, "WARNING: folder '" + source + "/locked' could not be read")) << run.out << run.err;
    EXPECT_TRUE(fs::exists(root_ + "/converted/a.bmp"));
}
