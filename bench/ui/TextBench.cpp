// Text layout and atlas packing with the real interface font and skin.
// Run from the build's run folder (it reads res/kanterel.tamberfont and res/texturepack).
#include <benchmark/benchmark.h>

#include <string>

#include "ui/FontFile.h"
#include "ui/TextLayout.h"
#include "ui/TexturePack.h"

using namespace tamber::ui;

namespace {

std::string Paragraphs(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "The |bquick|p brown fox jumps over the |ilazy|p dog;\tthen AVATAR Tower waves. ";
    return text;
}

void WrappedTextHeight(benchmark::State& state) {
    auto font = ReadFontFile("res/kanterel.tamberfont");
    if (!font) {
        state.SkipWithError("res/kanterel.tamberfont missing");
        return;
    }
    std::string text = Paragraphs(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(MeasureTextHeight(font.get(), text.c_str(), 0, kTextWordWrap, 300));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(WrappedTextHeight)->Arg(1)->Arg(100);

void MeasureOnlyDrawText(benchmark::State& state) {
    auto font = ReadFontFile("res/kanterel.tamberfont");
    if (!font) {
        state.SkipWithError("res/kanterel.tamberfont missing");
        return;
    }
    std::string text = Paragraphs(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(DrawText(font.get(), text.c_str(), 0, kTextMeasureOnly, Rect{0, 0, 2000, 20}));
}
BENCHMARK(MeasureOnlyDrawText);

void PackInterfaceFont(benchmark::State& state) {
    for (auto _ : state) {
        auto font = ReadFontFile("res/kanterel.tamberfont");
        if (!font || !PackFontGlyphs(*font, int(state.range(0)))) {
            state.SkipWithError("font missing or not packable");
            return;
        }
        benchmark::DoNotOptimize(font->pagePixels.size());
    }
}
BENCHMARK(PackInterfaceFont)->Arg(256)->Arg(1024)->Unit(benchmark::kMillisecond);

void PackTexturePack(benchmark::State& state) {
    auto images = ReadPieceFile("res/texturepack");
    if (!images) {
        state.SkipWithError("res/texturepack missing");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildTexturePack(*images, int(state.range(0))));
}
BENCHMARK(PackTexturePack)->Arg(64)->Arg(1024)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
