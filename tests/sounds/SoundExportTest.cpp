// Exporting permutations: decoded while written, names that stay in the chosen
// folder, failures reported without partial files, replaced files said so.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>

#include "platform/fs/AtomicFileWriter.h"
#include "sounds/SoundExport.h"
#include "sounds/WavWriter.h"
#include "tests/sounds/SoundTestSupport.h"

using namespace tamber::sounds;
using namespace sound_test;
using tamber::platform::AtomicFileWriter;

namespace fs = std::filesystem;

TEST(SoundExport, StreamsTheSameBytesAsAWholeDecode) {
    const fs::path folder = Folder("export_stream");
    // Stereo with an odd packet count, spanning several blocks of the writer.
    SoundPermutation stereo = Permutation("long", 2, 22050, 64 * 700);
    stereo.packets.resize(stereo.packets.size() - kImaPacketBytes);
    const size_t packets = stereo.packets.size() / kImaPacketBytes;
    const std::vector<int16_t> whole = DecodeImaPackets(stereo.packets.data(), packets, 2);
    ASSERT_TRUE(WriteWav(whole.data(), 16, 22050, 2, whole.size(), (folder / "whole.wav").string()));
    ASSERT_TRUE(WritePermutationWav(stereo, (folder / "streamed.wav").string()));
    const std::vector<uint8_t> streamed = FileBytes(folder / "streamed.wav");
    EXPECT_EQ(streamed.size(), 44 + packets * 128);
    EXPECT_EQ(streamed, FileBytes(folder / "whole.wav"));

    // One mono packet gives 172 bytes; no packets a 44-byte WAV.
    ASSERT_TRUE(WritePermutationWav(Permutation("one", 1, 22050, 64), (folder / "one.wav").string()));
    EXPECT_EQ(fs::file_size(folder / "one.wav"), 172u);
    ASSERT_TRUE(WritePermutationWav(Permutation("none", 1, 22050, 0), (folder / "none.wav").string()));
    const std::vector<uint8_t> none = FileBytes(folder / "none.wav");
    ASSERT_EQ(none.size(), 44u);
    EXPECT_EQ(Le32(none, 40), 0u);
    EXPECT_EQ(Le32(none, 24), 22050u);
}

TEST(SoundExport, ReadsPacketsFromThePayloadInBlocks) {
    const fs::path folder = Folder("export_payload");
    Sound sound;
    sound.permutations.push_back(Permutation("first", 1, 22050, 64 * 3));
    sound.permutations.push_back(Permutation("second", 2, 11025, 64 * 1500));
    const std::vector<uint8_t> payload = WriteSoundPayload(sound);
    size_t largestRead = 0;
    bool failReads = false;
    const SoundByteReader read = [&](uint64_t offset, uint8_t* out, size_t bytes) {
        largestRead = std::max(largestRead, bytes);
        if (failReads || offset > payload.size() || bytes > payload.size() - offset) return false;
        std::memcpy(out, payload.data() + offset, bytes);
        return true;
    };
    const tamber::base::Result<Sound> layout = ReadSoundLayout(read, payload.size());
    ASSERT_TRUE(layout) << layout.error();
    ASSERT_EQ(layout->permutations.size(), 2u);
    EXPECT_TRUE(layout->permutations[1].packets.empty());
    EXPECT_FALSE(ReadSoundLayout(read, payload.size() - 1));  // the last packet is cut short

    // The same files as from the decoded sound, read a block at a time.
    const std::vector<WavExportItem> items = PlanWavExport(*layout, AllPermutations(*layout), folder.string());
    EXPECT_EQ(ExportWavs(*layout, items, [](const WavExportOutcome&) {}, read), 0u);
    EXPECT_LT(largestRead, size_t(64 * 1500 * 2 / 64 * kImaPacketBytes));
    ASSERT_TRUE(WritePermutationWav(sound.permutations[1], (folder / "whole.wav").string()));
    EXPECT_EQ(FileBytes(items[1].path), FileBytes(folder / "whole.wav"));
    EXPECT_EQ(fs::file_size(items[0].path), 44u + 3 * 128);

    // Packets that cannot be read fail the file and leave the old one whole.
    failReads = true;
    std::string error;
    EXPECT_EQ(ExportWavs(*layout, items, [&](const WavExportOutcome& o) { if (!o.status) error = o.status.error(); },
                         read),
              2u);
    EXPECT_NE(error.find("packets cannot be read"), std::string::npos) << error;
    EXPECT_EQ(FileBytes(items[1].path), FileBytes(folder / "whole.wav"));
}

TEST(SoundExport, NamesStayInTheFolderAndNeverCollide) {
    const fs::path folder = Folder("export_names");
    Sound sound;
    for (const char* name : {"../../escape", "a/b", "..", ".", "", "line\nend\x7f", "twin", "twin", "twin?",
                             "A twenty-five-char name!!"})
        sound.permutations.push_back(Permutation(name, 1, 11025, 64));
    const std::vector<WavExportItem> items = PlanWavExport(sound, AllPermutations(sound), folder.string());
    ASSERT_EQ(items.size(), sound.permutations.size());
    std::set<std::string> names;
    for (const WavExportItem& item : items) {
        const fs::path path(item.path);
        EXPECT_EQ(path.parent_path(), folder) << item.path;
        const std::string name = path.filename().string();
        EXPECT_TRUE(names.insert(name).second) << name;
        for (char c : name) EXPECT_FALSE((unsigned char)c < 0x20 || c == 0x7f) << item.path;
    }
    EXPECT_EQ(fs::path(items[0].path).filename(), ".._.._escape.wav");
    EXPECT_EQ(fs::path(items[2].path).filename(), "_.wav");
    EXPECT_EQ(fs::path(items[3].path).filename(), "_ (2).wav");
    EXPECT_EQ(fs::path(items[5].path).filename(), "line_end_.wav");
    EXPECT_EQ(fs::path(items[7].path).filename(), "twin (2).wav");
    EXPECT_EQ(fs::path(items[8].path).filename(), "twin_.wav");
    EXPECT_EQ(fs::path(items[9].path).filename(), "A twenty-five-char name!!.wav");

    // Selected rows only; an index past the end is ignored.
    EXPECT_EQ(PlanWavExport(sound, {6, 99}, folder.string()).size(), 1u);

    size_t reported = 0;
    EXPECT_EQ(ExportWavs(sound, items, [&](const WavExportOutcome& outcome) {
                  EXPECT_TRUE(outcome.status) << outcome.path;
                  EXPECT_FALSE(outcome.replaced);
                  ++reported;
              }),
              0u);
    EXPECT_EQ(reported, items.size());
    EXPECT_EQ(size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator())), items.size());
}

TEST(SoundExport, FailuresAreReportedAndLeaveNoPartialFile) {
    const fs::path folder = Folder("export_failures");
    Sound sound;
    sound.permutations.push_back(Permutation("kept", 1, 22050, 64 * 40));
    sound.permutations.push_back(Permutation("fresh", 2, 22050, 64 * 40));
    const std::vector<WavExportItem> items = PlanWavExport(sound, AllPermutations(sound), folder.string());
    ASSERT_EQ(ExportWavs(sound, {items[0]}, [](const WavExportOutcome&) {}), 0u);
    const std::vector<uint8_t> before = FileBytes(items[0].path);

    // The disk fills up half-way through the replacement of "kept", then of "fresh".
    std::vector<WavExportOutcome> outcomes;
    AtomicFileWriter::FailNextWriterAfter(1000);
    EXPECT_EQ(ExportWavs(sound, {items[0]}, [&](const WavExportOutcome& o) { outcomes.push_back(o); }), 1u);
    AtomicFileWriter::FailNextWriterAfter(1000);
    EXPECT_EQ(ExportWavs(sound, {items[1]}, [&](const WavExportOutcome& o) { outcomes.push_back(o); }), 1u);
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_TRUE(outcomes[0].replaced);
    EXPECT_FALSE(outcomes[1].replaced);
    for (const WavExportOutcome& outcome : outcomes) {
        ASSERT_FALSE(outcome.status);
        EXPECT_NE(outcome.status.error().find(outcome.path), std::string::npos) << outcome.status.error();
    }
    EXPECT_EQ(FileBytes(items[0].path), before);
    EXPECT_FALSE(fs::exists(items[1].path));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    // A successful replacement says so.
    outcomes.clear();
    EXPECT_EQ(ExportWavs(sound, items, [&](const WavExportOutcome& o) { outcomes.push_back(o); }), 0u);
    EXPECT_TRUE(outcomes[0].replaced);
    EXPECT_FALSE(outcomes[1].replaced);
}
