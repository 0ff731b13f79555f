#include <gtest/gtest.h>

#include <string_view>

#include <sys/stat.h>
#include <unistd.h>

#include "images/ColorTable.h"
#include "images/MediaFile.h"
#include "platform/fs/AtomicFileWriter.h"
#include "tests/images/ImageTestSupport.h"

using namespace tamber::base;
using namespace tamber::images;
using namespace tamber::platform;

namespace {

using namespace std::string_view_literals;

std::vector<uint8_t> Encoded(uint32_t fileFormat) { return *EncodeImage(MakeTestImage(kPixelRGB, 4, 4), fileFormat); }

std::vector<uint8_t> WithTag(std::string_view text, size_t offset, size_t size = 64) {
    std::vector<uint8_t> bytes(size, 0);
    std::copy(text.begin(), text.end(), bytes.begin() + long(offset));
    return bytes;
}

void PutBE32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = uint8_t(value >> (24 - 8 * i));
}

// A loose tag file: a current header (name at offset 4, size at 48, "vsk2" at 60)
// and `payload` bytes, with `extra` bytes more than the header says.
std::vector<uint8_t> TagFile(std::string_view name, uint32_t payload, size_t extra = 0) {
    std::vector<uint8_t> bytes = WithTag(name, 4, 64 + payload + extra);
    bytes[0] = bytes[1] = 0xFF;
    std::copy_n("text", 4, bytes.begin() + 36);
    PutBE32(bytes, 44, 64);
    PutBE32(bytes, 48, payload);
    std::copy_n("vsk2", 4, bytes.begin() + 60);
    return bytes;
}

// An archive of type 3 with no tags: the 128-byte header and some data.
std::vector<uint8_t> ArchiveFile(size_t size) {
    std::vector<uint8_t> bytes = WithTag("Foundation", 4, size);
    bytes[1] = 3;
    PutBE32(bytes, 112, uint32_t(size));
    PutBE32(bytes, 120, 128);
    std::copy_n("dng2", 4, bytes.begin() + 124);
    return bytes;
}

TEST(MediaFile, IdentifiesEachKindInOrder) {
    ScratchFolder folder;
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        uint32_t kind, format;
    } cases[] = {
        {"tiff", Encoded(kFormatTiff), kMediaImage, kFormatTiff},
        {"png", Encoded(kFormatPng), kMediaImage, kFormatPng},
        {"bmp", Encoded(kFormatBmp), kMediaImage, kFormatBmp},
        {"lwob", WithTag("FORM\0\0\0\x04LWOB"sv, 0), kMediaModel, kFormatLightWave},
        {"lwo2", WithTag("LWO2", 8), kMediaModel, kFormatLightWave},
        {"3dmf", WithTag("3DMetafile", 0), kMediaModel, kFormat3DMetafile},
        {"wave", WithTag("RIFF\x24\0\0\0WAVEfmt "sv, 0), kMediaSound, kFormatWav},
        {"tag", TagFile("Grass", 10), kMediaTagFile, kFormatTagFile},
        {"archive", ArchiveFile(300), kMediaArchive, kFormatArchive},
        // Earlier rules win: a tag whose name puts "WAVE" at offset 8 reads as a sound.
        {"tag named like a sound", TagFile("abcdWAVE", 10), kMediaSound, kFormatWav},
        {"tag with the wrong size", TagFile("Grass", 10, 1), kMediaUnknown, kFormatUnknown},
        // Signatures whose validation fails fall through to the later rules.
        {"bad tiff", WithTag("II*\0\xff\xff\xff\x7fWAVE"sv, 0), kMediaSound, kFormatWav},
        {"bad bmp", WithTag("BM\0\0\0\0\0\0LWO2"sv, 0), kMediaModel, kFormatLightWave},
        {"short", WithTag("BM", 0, 2), kMediaUnknown, kFormatUnknown},
        {"empty", {}, kMediaUnknown, kFormatUnknown},
    };
    for (const Case& c : cases) {
        std::string path = folder.File("probe");
        ASSERT_TRUE(WriteFileBytes(path, c.bytes));
        MediaFile file(path);
        EXPECT_EQ(bool(Identify(file)), c.format != kFormatUnknown) << c.name;
        EXPECT_EQ(file.kind, c.kind) << c.name;
        EXPECT_EQ(file.format, c.format) << c.name;
        if (c.format == kFormatTagFile) {
            EXPECT_EQ(file.tagHeader.Name(), "Grass");
            EXPECT_EQ(file.tagHeader.size, 10u);
        }
        if (c.format == kFormatArchive) {
            EXPECT_EQ(file.archiveHeader.type, 3);
            EXPECT_STREQ(file.archiveHeader.name, "Foundation");
        }
    }
    MediaFile missing(folder.File("missing"));
    EXPECT_FALSE(Identify(missing));
}

TEST(MediaFile, PresetKindOrFormatMustMatch) {
    ScratchFolder folder;
    std::string path = folder.File("picture");
    ASSERT_TRUE(WriteFileBytes(path, Encoded(kFormatPng)));
    MediaFile wrongFormat(path);
    wrongFormat.format = kFormatBmp;
    EXPECT_FALSE(Identify(wrongFormat));
    EXPECT_FALSE(LoadImage(wrongFormat));
    MediaFile wrongKind(path);
    wrongKind.kind = kMediaSound;
    EXPECT_FALSE(Identify(wrongKind));
    MediaFile right(path);
    right.kind = kMediaImage;
    right.format = kFormatPng;
    EXPECT_TRUE(Identify(right));
    EXPECT_TRUE(LoadImage(right));
    EXPECT_EQ(right.image.width, 4);

    // A sound is identified but is not a picture.
    ASSERT_TRUE(WriteFileBytes(path, WithTag("WAVE", 8)));
    MediaFile sound(path);
    EXPECT_FALSE(LoadImage(sound));
    EXPECT_TRUE(sound.identified);
}

TEST(MediaFile, SpecialFilesAreRefusedAtOnceWithAReason) {
    ScratchFolder folder;
    const std::string fifo = folder.File("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // A reader that opened the FIFO would wait for a writer forever: the alarm
    // ends the test run instead.
    alarm(20);
    for (const std::string& path : {fifo, folder.Path().string()}) {
        SCOPED_TRACE(path);
        MediaFile file(path);
        Status identified = Identify(file);
        ASSERT_FALSE(identified);
        EXPECT_NE(identified.error().find(path), std::string::npos) << identified.error();
        MediaFile image(path);
        EXPECT_FALSE(LoadImage(image));
        EXPECT_FALSE(ReadColorTable(path));
    }
    alarm(0);
}

TEST(MediaFile, ExtensionTable) {
    EXPECT_EQ(kMediaExtensions[0].extension, std::string(".unknown"));
    EXPECT_EQ(FormatFromExtension("picture.BMP"), kFormatBmp);
    EXPECT_EQ(FormatFromExtension("a.b.png"), kFormatPng);
    EXPECT_EQ(FormatFromExtension(".tiff"), kFormatTiff);
    EXPECT_EQ(FormatFromExtension("TIFF"), kFormatTiff);
    EXPECT_EQ(FormatFromExtension("scan.tif"), kFormatUnknown);
    EXPECT_EQ(FormatFromExtension("model.Lwo"), kFormatLightWave);
    EXPECT_EQ(FormatFromExtension("noise.wav"), kFormatWav);
    EXPECT_EQ(FormatFromExtension("png.txt"), kFormatUnknown);
    EXPECT_EQ(FormatFromExtension(""), kFormatUnknown);
}

TEST(MediaFile, FailedSaveKeepsTheOldFile) {
    ScratchFolder folder;
    std::string path = folder.File("keep.png");
    std::vector<uint8_t> old = Encoded(kFormatPng);
    ASSERT_TRUE(WriteFileBytes(path, old));
    MediaFile file(path);
    file.image = MakeTestImage(kPixelRGB, 2, 2);
    file.image.pixels.pop_back();  // inconsistent with its size: the encoder refuses it
    EXPECT_FALSE(SaveImage(file));
    EXPECT_EQ(ReadFileBytes(path), old);

    // A disk that fills up halfway through the write.
    file.image.pixels.push_back(0);
    AtomicFileWriter::FailNextWriterAfter(20);
    EXPECT_FALSE(SaveImage(file));
    EXPECT_EQ(ReadFileBytes(path), old);

    MediaFile unwritable(folder.File("no/such/folder/x.png"));
    unwritable.image = MakeTestImage(kPixelRGB, 2, 2);
    EXPECT_FALSE(SaveImage(unwritable));

    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        ++entries;
    EXPECT_EQ(entries, 1u);  // no temporary left behind

    // The format comes from the extension when none is set.
    MediaFile byName(folder.File("named.tiff"));
    byName.image = MakeTestImage(kPixelGrey, 2, 2);
    ASSERT_TRUE(SaveImage(byName));
    MediaFile check(byName.path);
    ASSERT_TRUE(Identify(check));
    EXPECT_EQ(check.format, kFormatTiff);
}

}  // namespace
