// Palette reduction compared: Convert to 6400 or 6666 (with and without the
// palette refinement) against ImageMagick and pngquant on the same pictures, timed and
// scored by PSNR against the source. Usage: images_palette_bench [scratch folder]
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "bench/images/TestPictures.h"
#include "images/MediaFile.h"
#include "images/PixelConvert.h"

using namespace tamber::images;

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// PSNR of red, green and blue premultiplied by alpha, each side with its own
// alpha: what is seen when the picture is drawn, so the colour of invisible
// pixels does not count and wrong alpha does. For opaque pictures plain RGB PSNR.
double Psnr(const Image& source, const std::vector<uint8_t>& rgba) {
    if (rgba.size() != source.pixels.size())
        return 0;
    double sum = 0;
    for (size_t i = 0; i < source.PixelCount(); ++i) {
        const uint8_t* a = &source.pixels[i * 4];
        const uint8_t* b = &rgba[i * 4];
        for (int ch = 0; ch < 3; ++ch) {
            double d = (double(a[ch]) * a[3] - double(b[ch]) * b[3]) / 255.0;
            sum += d * d;
        }
    }
    if (sum == 0)
        return 99;
    return 10 * std::log10(255.0 * 255.0 * 3.0 * double(source.PixelCount()) / sum);
}

bool HasTransparency(const Image& image) {
    for (size_t i = 0; i < image.PixelCount(); ++i)
        if (image.pixels[i * 4 + 3] != 255)
            return true;
    return false;
}

bool HasTool(const char* name) {
    return std::system(("command -v " + std::string(name) + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a tool three times and keeps the fastest wall time; -1 when it fails.
double TimeCommand(const std::string& command) {
    double best = -1;
    for (int run = 0; run < 3; ++run) {
        auto start = Clock::now();
        if (std::system((command + " >/dev/null 2>&1").c_str()) != 0)
            return -1;
        double ms = Milliseconds(start);
        best = best < 0 ? ms : std::min(best, ms);
    }
    return best;
}

// Decodes another program's output to RGBA through ImageMagick, which reads
// every variant those programs write (transparency chunks included).
std::vector<uint8_t> DecodeWithTool(const std::string& path, const std::string& raw) {
    if (std::system(("convert " + path + " -depth 8 rgba:" + raw + " >/dev/null 2>&1").c_str()) != 0)
        return {};
    std::ifstream in(raw, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct OurResult {
    double convertMs = 0;   // Convert alone, fastest of three
    double fileMs = 0;      // load PNG, Convert, save PNG
    double psnr = 0;
};

// Pictures with transparency go to 6666 (the same palette and indices as 6400,
// with each pixel's alpha kept beside its index).
OurResult RunOurs(const Image& source, int refinePasses, const std::string& input, const std::string& output) {
    OurResult result;
    uint32_t target = HasTransparency(source) ? kPixelPalettedAlpha : kPixelPaletted;
    PaletteReduction options;
    options.refinePasses = refinePasses;
    Image reduced;
    result.convertMs = -1;
    for (int run = 0; run < 3; ++run) {
        reduced = source;
        auto start = Clock::now();
        Convert(reduced, target, options);
        double ms = Milliseconds(start);
        result.convertMs = result.convertMs < 0 ? ms : std::min(result.convertMs, ms);
    }
    auto start = Clock::now();
    MediaFile in(input);
    MediaFile out(output);
    // No file format holds 6666, so the file-to-file run writes the 6400 result.
    if (LoadImage(in) && Convert(in.image, kPixelRGBA) && Convert(in.image, kPixelPaletted, options)) {
        out.image = std::move(in.image);
        SaveImage(out);
    }
    result.fileMs = Milliseconds(start);
    Convert(reduced, kPixelRGBA);
    result.psnr = Psnr(source, reduced.pixels);
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "tamber_palette_bench";
    fs::create_directories(folder);
    bool magick = HasTool("convert");
    bool quant = HasTool("pngquant");
    if (!magick)
        std::printf("ImageMagick (convert) is not installed: its column and pngquant's scores are left out\n");
    if (!quant)
        std::printf("pngquant is not installed: its column is left out\n");

    std::printf("| picture | colours | Tamber Convert ms | Tamber file to file ms | Tamber PSNR | without refinement PSNR |"
                " ImageMagick ms | ImageMagick PSNR | pngquant ms | pngquant PSNR |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|\n");
    for (const TestPicture& picture : MakeTestPictures()) {
        std::string stem = (folder / picture.name.substr(0, picture.name.find(' '))).string() +
                           std::to_string(picture.image.width);
        std::string input = stem + ".png";
        MediaFile source(input);
        source.image = picture.image;
        if (!SaveImage(source)) {
            std::printf("cannot write %s\n", input.c_str());
            return 1;
        }
        size_t colours = CountColors(picture.image.pixels.data(), picture.image.PixelCount()).size();
        OurResult ours = RunOurs(picture.image, PaletteReduction().refinePasses, input, stem + "_tamber.png");
        OurResult plain = RunOurs(picture.image, 0, input, stem + "_tamber0.png");

        double magickMs = -1, magickPsnr = 0, quantMs = -1, quantPsnr = 0;
        if (magick) {
            std::string out = stem + "_magick.png";
            magickMs = TimeCommand("convert " + input + " -dither FloydSteinberg -colors 256 " + out);
            magickPsnr = Psnr(picture.image, DecodeWithTool(out, stem + "_magick.rgba"));
        }
        if (quant && magick) {
            std::string out = stem + "_pngquant.png";
            quantMs = TimeCommand("pngquant --force --output " + out + " 256 " + input);
            quantPsnr = Psnr(picture.image, DecodeWithTool(out, stem + "_pngquant.rgba"));
        }
        std::printf("| %s | %zu | %.1f | %.1f | %.2f | %.2f | %.1f | %.2f | %.1f | %.2f |\n", picture.name.c_str(),
                    colours, ours.convertMs, ours.fileMs, ours.psnr, plain.psnr, magickMs, magickPsnr, quantMs,
                    quantPsnr);
        std::fflush(stdout);
    }
    return 0;
}
