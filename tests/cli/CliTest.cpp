// Runs the tamber-cli program on a freshly generated demo game folder and checks
// its output, exit statuses and the files it writes.
#include <set>

#include "images/MediaFile.h"
#include "platform/fs/FileSystem.h"
#include "sounds/SoundPayload.h"
#include "tags/Archive.h"
#include "tags/Codex.h"
#include "tags/LooseTagFile.h"
#include "tags/WorkingSet.h"
#include "tests/cli/CliTestSupport.h"

using namespace tamber::images;
using namespace tamber::platform;
using namespace tamber::sounds;
using namespace tamber::tags;

namespace {

using cli_test::Lines;
using cli_test::ReadText;

TEST_F(CliTest, HelpAndUsageErrors) {
    const CliRun help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    const std::vector<std::string> commands = {"codex", "archive list", "archive extract", "tag info",
                                               "tag validate", "image info", "collection info",
                                               "collection export", "sound info", "sound export", "dtex export",
                                               "dtex import", "model convert", "image convert", "search",
                                               "addon"};
    for (const std::string& command : commands) {
        EXPECT_NE(help.out.find("  " + command + " "), std::string::npos) << command;
        std::vector<std::string> args;
        std::stringstream words(command);
        for (std::string word; words >> word;) args.push_back(word);
        args.push_back("--help");
        const CliRun own = Run(args);
        EXPECT_EQ(own.status, 0) << command;
        EXPECT_EQ(own.out.rfind("usage: tamber-cli " + command + " ", 0), 0u) << command;
    }
    const CliRun bare = Run({});
    EXPECT_EQ(bare.status, 2);
    EXPECT_TRUE(bare.out.empty());
    EXPECT_NE(bare.err.find("Commands:"), std::string::npos);
    EXPECT_EQ(Run({"frobnicate"}).status, 2);
    const CliRun area = Run({"archive"});
    EXPECT_EQ(area.status, 2);
    EXPECT_NE(area.err.find("archive extract FILE DEST"), std::string::npos);
    const std::vector<std::vector<std::string>> usage = {
        {"codex"}, {"codex", game_, "--bogus"}, {"codex", game_, "--list"}, {"archive", "list", "a", "b"},
        {"tag", "info", "--json=1", "x"}, {"collection", "info", "a", "b"},
        {"sound", "info", game_, "noises", "wind"}, {"sound", "info", game_, "soun", "toolong"},
        {"collection", "export", game_, ".256", "spri", root_ + "/x", "--type", "gif"},
        {"dtex", "export", game_, "dtex", "gras", root_ + "/x.gif"}};
    for (const auto& args : usage) {
        const CliRun run = Run(args);
        EXPECT_EQ(run.status, 2) << args[0] << " " << args.back();
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(run.err.find("usage: tamber-cli"), std::string::npos);
    }
}

// The listing is what the desktop program's Codex holds for the same folder.
TEST_F(CliTest, CodexListingAgreesWithTheCodex) {
    Codex codex;
    codex.Init(game_);
    std::set<std::string> expected;
    for (TagRecord* record : codex.AllCurrentTags()) {
        const TagHeader& h = codex.CurrentEntry(record)->header;
        expected.insert(FourCCText(h.group) + "\t" + FourCCText(h.tagid) + "\t" + h.Name() + "\t" +
                        std::to_string(h.size) + "\t" + std::to_string(h.version) + "\t" +
                        codex.TagLocationName(record));
    }
    const CliRun run = Run({"codex", game_});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()), expected);
    EXPECT_EQ(lines.size(), expected.size());
    // The demo's duplicate loose tagids are reported on the Codex channel, on standard error.
    EXPECT_NE(run.err.find("duplicate tagids detected"), std::string::npos);
    EXPECT_EQ(run.out.find("duplicate"), std::string::npos);

    const CliRun local = Run({"codex", game_, "--list", "local", "--json"});
    EXPECT_EQ(local.status, 0);
    size_t objects = 0;
    for (size_t at = local.out.find("\"location\": \"local folder\""); at != std::string::npos;
         at = local.out.find("\"location\": \"local folder\"", at + 1))
        ++objects;
    EXPECT_EQ(objects, codex.LocalTags().size());

    // With only the foundation active, no tag lies in an add-on.
    Archive* foundation = codex.FindArchiveByName("foundation.dng");
    ASSERT_NE(foundation, nullptr);
    SetActiveArchives(codex, {foundation});
    const CliRun narrowed = Run({"codex", game_, "--working-set", "foundation.dng"});
    EXPECT_EQ(Lines(narrowed.out).size(), codex.AllCurrentTags().size());
    for (const std::string& line : Lines(narrowed.out)) {
        EXPECT_TRUE(line.ends_with("\tfoundation.dng") || line.ends_with("\tlocal folder")) << line;
    }
    EXPECT_EQ(Run({"codex", game_, "--working-set", "missing.dng"}).status, 1);
    EXPECT_EQ(Run({"codex", game_, "--list", "missing.dng"}).status, 1);
    EXPECT_EQ(Run({"codex", root_ + "/nowhere"}).status, 1);
}

TEST_F(CliTest, ArchiveListAndExtract) {
    const std::string path = game_ + "/plugins/alpha.dng";
    const Result<std::unique_ptr<Archive>> read = ReadArchive(path);
    ASSERT_TRUE(read);
    const std::unique_ptr<Archive>& archive = *read;
    const CliRun list = Run({"archive", "list", path});
    ASSERT_EQ(list.status, 0);
    const std::vector<std::string> lines = Lines(list.out);
    ASSERT_EQ(lines.size(), archive->entries.size());
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].substr(0, 10), FourCCText(archive->entries[i].header.group) + "\t" +
                                              FourCCText(archive->entries[i].header.tagid) + "\t");
    EXPECT_NE(Run({"archive", "list", "--json", path}).out.find("\"tags\": ["), std::string::npos);
    EXPECT_EQ(Run({"archive", "list", game_ + "/local/sounds/demo wind"}).status, 1);

    const std::string dest = root_ + "/unpacked";
    const CliRun extract = Run({"archive", "extract", path, dest});
    ASSERT_EQ(extract.status, 0) << extract.err;
    const std::vector<std::string> written = Lines(extract.out);
    ASSERT_EQ(written.size(), archive->entries.size());
    for (size_t i = 0; i < written.size(); ++i) {
        const Result<TagHeader> header = ReadLooseTagHeader(written[i]);
        ASSERT_TRUE(header) << written[i];
        EXPECT_EQ(header->tagid, archive->entries[i].header.tagid);
        EXPECT_EQ(header->size, archive->entries[i].header.size);
    }
    // A second run would replace files nobody named: refused, file untouched.
    { std::ofstream(written[0], std::ios::trunc) << "mine"; }
    const CliRun again = Run({"archive", "extract", path, dest});
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("--force"), std::string::npos);
    EXPECT_EQ(ReadText(written[0]), "mine");
    EXPECT_EQ(Run({"archive", "extract", path, dest, "--force"}).status, 0);
    EXPECT_TRUE(ReadLooseTagHeader(written[0]));
}

TEST_F(CliTest, TagInfoAndValidate) {
    const std::string wind = game_ + "/local/sounds/demo wind";
    const CliRun info = Run({"tag", "info", wind});
    ASSERT_EQ(info.status, 0);
    EXPECT_NE(info.out.find("name: demo wind\n"), std::string::npos);
    EXPECT_NE(info.out.find("group: soun\n"), std::string::npos);
    EXPECT_NE(info.out.find("tagid: wind\n"), std::string::npos);
    EXPECT_NE(Run({"tag", "info", "--json", wind}).out.find("\"tagid\": \"wind\""), std::string::npos);
    EXPECT_EQ(Run({"tag", "info", game_ + "/plugins/alpha.dng"}).status, 1);

    const CliRun before = Run({"tag", "validate", game_});
    EXPECT_EQ(before.status, 1);  // the version-10 mesh does not read
    EXPECT_NE(before.out.find("mesh\ttold\tdemo old valley\tfoundation.dng\tmesh version 10 is not supported"),
              std::string::npos);
    for (const char* good : {".256\tspri", "soun\twind", "dtex\tgras", "mesh\ttval", "dmap\ttval", "bina\topti"})
        EXPECT_EQ(before.out.find(good), std::string::npos) << good;
    EXPECT_NE(before.err.find(" checked, "), std::string::npos);

    // A loose sound cut short no longer reads.
    const uint64_t size = GetFileStatus(wind).size;
    ASSERT_EQ(::truncate(wind.c_str(), off_t(size - 100)), 0);
    const CliRun after = Run({"tag", "validate", game_});
    EXPECT_EQ(after.status, 1);
    EXPECT_NE(after.out.find("soun\twind\tdemo wind\tlocal folder\tnot a valid sound"), std::string::npos);
}

TEST_F(CliTest, CollectionInfoAndExport) {
    const CliRun info = Run({"collection", "info", game_, ".256", "spri"});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("bitmaps: 9\n"), std::string::npos);
    EXPECT_NE(info.out.find("  2\trle 8-bit\t32x28\t8-bit rle\n"), std::string::npos);
    EXPECT_NE(info.out.find("  7\thigh colour\t30x26\thigh-colour\n"), std::string::npos);
    EXPECT_EQ(Run({"collection", "info", game_, "sounds", "wind"}).status, 1);

    const std::string dest = root_ + "/sprites";
    const CliRun byNumber = Run({"collection", "export", game_, "collections", "spri", dest});
    ASSERT_EQ(byNumber.status, 0) << byNumber.err;
    EXPECT_EQ(Lines(byNumber.out).size(), 8u);  // the high-colour bitmap is skipped
    EXPECT_NE(byNumber.err.find("bitmap 7 is high-colour"), std::string::npos);
    MediaFile image(dest + "/bitmap #0002.png");
    ASSERT_TRUE(LoadImage(image));
    EXPECT_EQ(image.image.format, uint32_t(kPixelPaletted));
    EXPECT_EQ(image.image.width, 32);
    EXPECT_EQ(image.image.height, 28);
    EXPECT_EQ(Run({"collection", "export", game_, "collections", "spri", dest}).status, 1);
    EXPECT_EQ(Run({"collection", "export", game_, "collections", "spri", dest, "--force"}).status, 0);

    const CliRun byName = Run({"collection", "export", game_, ".256", "spri", dest, "--by-name", "--type", "bmp"});
    ASSERT_EQ(byName.status, 0);
    EXPECT_TRUE(GetFileStatus(dest + "/rle 16-bit padded.bmp").exists);
    EXPECT_TRUE(GetFileStatus(dest + "/shadow.bmp").exists);
}

TEST_F(CliTest, SoundInfoAndExport) {
    const std::string wind = game_ + "/local/sounds/demo wind";
    const CliRun info = Run({"sound", "info", wind});
    ASSERT_EQ(info.status, 0);
    EXPECT_EQ(info.out, "gust\t00:01\t16\t2 (stereo)\t44100 Hz\n");

    const std::string dest = root_ + "/wav";
    const CliRun exported = Run({"sound", "export", game_, "soun", "wind", dest});
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.out, dest + "/gust.wav\n");
    std::vector<uint8_t> tag(GetFileStatus(wind).size);
    ASSERT_TRUE(ReadFileStart(wind, tag.data(), tag.size()));
    const tamber::base::Result<Sound> sound = ReadSoundPayload(tag.data() + 64, tag.size() - 64);
    ASSERT_TRUE(sound);
    const std::string wav = ReadText(dest + "/gust.wav");
    EXPECT_EQ(wav.size(), 44 + sound->permutations[0].samples.size() * 2);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(Run({"sound", "export", wind, dest}).status, 1);
    EXPECT_EQ(Run({"sound", "export", wind, dest, "--force"}).status, 0);
}

TEST_F(CliTest, DetailTextureExportAndImport) {
    const std::string png = root_ + "/grass.png";
    ASSERT_EQ(Run({"dtex", "export", game_, "dtex", "gras", png}).status, 0);
    const CliRun info = Run({"image", "info", png});
    EXPECT_EQ(info.out, "format: PNG\nwidth: 64\nheight: 64\npixels: rgb\npalette entries: 0\n");
    EXPECT_EQ(Run({"image", "info", game_ + "/plugins/alpha.dng"}).status, 1);
    EXPECT_EQ(Run({"dtex", "export", game_, "dtex", "gras", png}).status, 1);

    const CliRun imported = Run({"dtex", "import", png, "new grass", game_});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out, game_ + "/local/detail textures/new grass\n");
    EXPECT_EQ(Run({"dtex", "import", png, "new grass", game_}).status, 1);
    const std::string again = root_ + "/again.png";
    ASSERT_EQ(Run({"dtex", "export", game_ + "/local/detail textures/new grass", again}).status, 0);
    EXPECT_EQ(ReadText(again), ReadText(png));

    // Sides that are not powers of two are refused.
    MediaFile odd(root_ + "/odd.png");
    ASSERT_TRUE(CreateImage(odd.image, 48, 64, kPixelRGB));
    ASSERT_TRUE(SaveImage(odd));
    const CliRun refused = Run({"dtex", "import", odd.path, "odd", game_});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("The texture must have dimensions that are powers of two."), std::string::npos);
}

TEST_F(CliTest, ModelConvert) {
    const std::string dest = root_ + "/model";
    const CliRun run = Run({"model", "convert", game_ + "/models/demo crate.3dmf", dest});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, dest + "/demo crate.lwo\n" + dest + "/Pixmap0.png\n" + dest + "/Pixmap1.png\n");
    EXPECT_EQ(ReadText(dest + "/demo crate.lwo").substr(8, 4), "LWO2");
    EXPECT_EQ(Run({"model", "convert", game_ + "/models/demo crate.3dmf", dest}).status, 1);
    EXPECT_EQ(Run({"model", "convert", game_ + "/models/demo crate.3dmf", dest, "--force"}).status, 0);
    EXPECT_EQ(Run({"model", "convert", game_ + "/plugins/alpha.dng", dest}).status, 1);
}

}  // namespace
