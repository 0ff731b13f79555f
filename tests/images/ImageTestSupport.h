#pragma once
// Shared helpers for the image tests: a scratch folder and deterministic pictures.
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "images/Image.h"
#include "platform/fs/FileBytes.h"

using namespace tamber::images;
using namespace tamber::platform;

class ScratchFolder {
public:
    ScratchFolder() {
        std::random_device device;
        path_ = std::filesystem::temp_directory_path() / ("tamber_images_" + std::to_string(device()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A picture of the given format with varied content; paletted ones get a
// palette that is not the grey ramp.
inline Image MakeTestImage(uint32_t format, int32_t width, int32_t height, uint32_t seed = 1) {
    Image image;
    EXPECT_TRUE(CreateImage(image, width, height, format));
    std::mt19937 random(seed);
    for (uint8_t& byte : image.pixels)
        byte = uint8_t(random());
    if (image.IsPaletted()) {
        std::vector<uint8_t> entries(768);
        for (uint8_t& byte : entries)
            byte = uint8_t(random());
        SetPalette(image, 256, entries.data());
    }
    return image;
}

inline std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    auto bytes = ReadFileBytes(path, SIZE_MAX);
    return bytes ? std::move(*bytes) : std::vector<uint8_t>{};
}

inline bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    return bool(WriteFileAtomically(path, bytes));
}
