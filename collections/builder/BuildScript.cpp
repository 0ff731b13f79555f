#include "collections/builder/BuildScript.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "platform/fs/FileBytes.h"
#include "platform/fs/FileSystem.h"

namespace tamber::collections::builder {
using namespace tamber::base;
using namespace tamber::platform;

namespace {

// Scripts are a few lines; anything larger is not one.
constexpr size_t kMaxScriptBytes = 1 << 20;
// Frame lists longer than any 16-bit frame count are refused.
constexpr size_t kMaxFrameListLength = 32767;

bool IsTrue(const std::string& value) { return value == "True" || value == "Yes"; }

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

Result<std::vector<int>> ParseFrameList(const std::string& line) {
    const size_t close = line.find(')');
    if (close == std::string::npos) return Fail("the frame list has no closing ')'");
    std::string body = line.substr(1, close - 1);
    for (char& c : body)
        if (c == ',') c = ' ';
    std::istringstream words(body);
    std::vector<int> frames;
    for (std::string word; words >> word;) {
        if (frames.size() >= kMaxFrameListLength) return Fail("the frame list is too long");
        if (word == "~") {
            frames.push_back(kEmptyFrame);
            continue;
        }
        char* end = nullptr;
        errno = 0;
        const long number = std::strtol(word.c_str(), &end, 10);
        if (*end || errno || number < 1 || number > 32767) return Fail("'" + word + "' is not a bitmap number");
        frames.push_back(int(number));
    }
    return frames;
}

Result<ScriptHueChange> ParseHueChange(const std::string& value) {
    ScriptHueChange hue;
    std::string numbers = value;
    if (!value.empty() && value[0] == '"') {
        const size_t close = value.find('"', 1);
        if (close == std::string::npos) return Fail("the hue change name has no closing '\"'");
        hue.name = value.substr(1, close - 1);
        numbers = value.substr(close + 1);
    }
    std::istringstream words(numbers);
    long v[4];
    for (long& n : v) {
        if (!(words >> n) || n < 0 || n > 65535) return Fail("a hue change needs four numbers from 0 to 65535");
    }
    hue.startHue = uint16_t(v[0]);
    hue.endHue = uint16_t(v[1]);
    hue.minSaturation = uint16_t(v[2]);
    hue.medianHue = uint16_t(v[3]);
    return hue;
}

}  // namespace

Result<BuildScript> ParseBuildScript(const std::string& text) {
    BuildScript script;
    std::istringstream lines(text);
    int number = 0;
    for (std::string raw; std::getline(lines, raw);) {
        ++number;
        const std::string line = Trim(raw);
        if (line.empty()) continue;
        const std::string where = "line " + std::to_string(number) + ": ";
        if (line[0] == '(') {
            Result<std::vector<int>> frames = ParseFrameList(line);
            if (!frames) return Fail(where + frames.error());
            script.frameList = std::move(*frames);
            script.hasFrameList = true;
            continue;
        }
        const size_t blank = line.find_first_of(" \t");
        const std::string key = line.substr(0, blank);
        const std::string value = blank == std::string::npos ? std::string() : Trim(line.substr(blank + 1));
        if (key == "BitmapOrder") {
            if (value == "ViewsThenFrames") script.bitmapOrder = kViewsThenFrames;
            else if (value == "FramesThenViews") script.bitmapOrder = kFramesThenViews;
        } else if (key == "AlignType") {
            static const char* const kTypes[] = {"WholeSequence", "BitmapsIndividually", "ViewsIndividually",
                                                 "FramesIndividually"};
            for (int i = 0; i < 4; ++i)
                if (value == kTypes[i]) script.alignType = AlignType(i);
        } else if (key == "AlignIndividually") {
            script.alignIndividually = IsTrue(value);
        } else if (key == "AffectsGlobalScale") {
            script.affectsGlobalScale = IsTrue(value);
        } else if (key == "ImageScale") {
            char* end = nullptr;
            const double scale = std::strtod(value.c_str(), &end);
            if (end == value.c_str() || !(scale >= 0 && scale <= 1000)) return Fail(where + "ImageScale needs a number");
            script.imageScale = scale;
        } else if (key == "ReverseViews") {
            script.reverseViews = IsTrue(value);
        } else if (key == "HueChange") {
            Result<ScriptHueChange> hue = ParseHueChange(value);
            if (!hue) return Fail(where + hue.error());
            script.hueChanges.push_back(std::move(*hue));
        }
    }
    return script;
}

Result<BuildScript> ReadBuildScript(const std::string& folder) {
    const std::string path = folder + "script.txt";
    if (!GetFileStatus(path).exists) return BuildScript{};
    Result<std::vector<uint8_t>> bytes = ReadFileBytes(path, kMaxScriptBytes);
    if (!bytes) return std::move(bytes).TakeError();
    return ParseBuildScript(std::string(bytes->begin(), bytes->end()));
}

}  // namespace tamber::collections::builder
