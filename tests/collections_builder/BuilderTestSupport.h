#pragma once
// Render folders for the collection builder tests: RGBA pictures with a visible
// block on a clear background, grey alpha masks, and the log lines of a run.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "collections/CollectionFile.h"
#include "collections/builder/BuildLog.h"
#include "images/MediaFile.h"
#include "platform/fs/FileBytes.h"
#include "tags/Codex.h"
#include "tests/support/ScratchFolder.h"

using namespace tamber::collections;
using namespace tamber::collections::builder;
using namespace tamber::images;
using namespace tamber::tags;

// A visible block inside a clear picture.
struct Block {
    int left = 2, top = 1, width = 4, height = 3;
    uint8_t red = 200, green = 40, blue = 40;
};

inline void SaveTestImage(const Image& image, const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    MediaFile file(path);
    file.image = image;
    ASSERT_TRUE(SaveImage(file).ok()) << path;
}

// An RGBA render; with `opaque` the whole picture has alpha 255 (for alpha masks to cut).
inline Image RenderImage(int width, int height, const Block& block, bool opaque = false) {
    Image image;
    EXPECT_TRUE(CreateImage(image, width, height, kPixelRGBA));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &image.pixels[(size_t(y) * size_t(width) + size_t(x)) * 4];
            const bool inside = x >= block.left && x < block.left + block.width && y >= block.top &&
                                y < block.top + block.height;
            p[0] = inside ? block.red : 0;
            p[1] = inside ? uint8_t(block.green + x * 3) : 0;
            p[2] = inside ? uint8_t(block.blue + y * 5) : 0;
            p[3] = inside || opaque ? 255 : 0;
        }
    return image;
}

// A grey mask, white inside the block.
inline Image AlphaImage(int width, int height, const Block& block) {
    Image image;
    EXPECT_TRUE(CreateImage(image, width, height, kPixelGrey));
    for (int y = block.top; y < block.top + block.height; ++y)
        for (int x = block.left; x < block.left + block.width; ++x) image.pixels[size_t(y) * size_t(width) + size_t(x)] = 255;
    return image;
}

// Writes `count` renders "NAME_000.png"... into the folder, the block moving with the index.
inline void WriteRenders(const std::string& folder, int count, int width = 12, int height = 10) {
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "img_%03d.png", i);
        Block block{1 + i % 5, 1 + i % 4, 3 + i % 3, 2 + i % 4, uint8_t(20 + i * 2), 100, 60};
        SaveTestImage(RenderImage(width, height, block), folder + "/" + name);
    }
}

// Collects the lines of a run.
struct LogLines {
    std::vector<std::pair<int, std::string>> lines;
    BuildLog Log() {
        return BuildLog([this](int level, const std::string& text) { lines.emplace_back(level, text); });
    }
    bool Has(const std::string& text, int level = -1) const {
        for (const auto& [l, t] : lines)
            if (t == text && (level < 0 || l == level)) return true;
        return false;
    }
    std::string All() const {
        std::string all;
        for (const auto& line : lines) all += line.second;
        return all;
    }
};

// A game folder with an empty local folder, indexed.
struct TestGame {
    Scratch scratch;
    Codex codex;
    TestGame() {
        std::filesystem::create_directories(scratch / "game/local");
        codex.Init(scratch / "game");
    }
    std::string Renders() const { return scratch / "renders/"; }
};

// Reads a collection tag file back in full.
inline std::unique_ptr<Collection> ReadBack(const std::string& path) {
    auto bytes = tamber::platform::ReadFileBytes(path, size_t(1) << 28);
    EXPECT_TRUE(bytes.ok());
    if (!bytes || bytes->size() < 64) return nullptr;
    TagHeader header{};
    EXPECT_TRUE(ValidateTagHeader(header, bytes->data(), bytes->size()));
    auto collection = ReadCollection(std::span<const uint8_t>(bytes->data() + 64, bytes->size() - 64), header.user, true);
    EXPECT_TRUE(collection.ok());
    return collection ? std::move(*collection) : nullptr;
}
