#include "base/Preferences.h"

#include <cstdio>
#include <cstdlib>

#include "platform/fs/FileBytes.h"

namespace tamber::base {
using namespace tamber::platform;

namespace {

bool IsSpace(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Reads the file's bytes one line-oriented value at a time with the rules of the
// original C stream reader: a value counts only when the line ends right after it.
class PrefsReader {
public:
    explicit PrefsReader(const std::string& bytes) : bytes_(bytes) {}

    bool AtEnd() const { return pos_ >= bytes_.size(); }
    int Peek() const { return AtEnd() ? -1 : static_cast<unsigned char>(bytes_[pos_]); }
    size_t Position() const { return pos_; }
    void Seek(size_t pos) { pos_ = pos; }

    // Characters up to the first white-space character; that character is consumed.
    std::string ReadKey(int& terminator) {
        size_t start = pos_;
        while (!AtEnd() && !IsSpace(Peek())) ++pos_;
        std::string key = bytes_.substr(start, pos_ - start);
        terminator = Peek();
        if (!AtEnd()) ++pos_;
        return key;
    }

    // The line end that must follow a value: LF, CR LF, or CR followed by anything
    // (that character is left for the next line).
    bool ReadLineEnd() {
        if (Peek() == '\n') {
            ++pos_;
            return true;
        }
        if (Peek() == '\r') {
            ++pos_;
            if (Peek() == '\n') ++pos_;
            return true;
        }
        return false;
    }

    bool ReadInteger(int& value) {
        SkipSpace();
        size_t start = pos_;
        if (Peek() == '+' || Peek() == '-') ++pos_;
        size_t digits = pos_;
        while (Peek() >= '0' && Peek() <= '9') ++pos_;
        if (pos_ == digits) return false;
        long long parsed = std::strtoll(bytes_.substr(start, pos_ - start).c_str(), nullptr, 10);
        if (parsed > INT32_MAX) parsed = INT32_MAX;
        if (parsed < INT32_MIN) parsed = INT32_MIN;
        value = static_cast<int>(parsed);
        return ReadLineEnd();
    }

    bool ReadReal(double& value) {
        SkipSpace();
        const char* begin = bytes_.c_str() + pos_;
        char* end = nullptr;
        value = std::strtod(begin, &end);
        if (end == begin) return false;
        pos_ += static_cast<size_t>(end - begin);
        return ReadLineEnd();
    }

    // A double-quoted run of printable characters. Bytes 128 to 255 are accepted
    // too, so that a path in UTF-8 survives a save and a load.
    bool ReadString(std::string& value) {
        if (Peek() != '"') return false;
        ++pos_;
        size_t start = pos_;
        while (!AtEnd() && Peek() != '"') {
            int c = Peek();
            if (c < 32 || c == 127) return false;
            ++pos_;
        }
        if (AtEnd()) return false;
        value = bytes_.substr(start, pos_ - start);
        ++pos_;
        return ReadLineEnd();
    }

private:
    void SkipSpace() {
        while (!AtEnd() && IsSpace(Peek())) ++pos_;
    }

    const std::string& bytes_;
    size_t pos_ = 0;
};

}  // namespace

Preferences& Preferences::Instance() {
    static Preferences preferences;
    return preferences;
}

const std::string& Preferences::Path() {
    if (path_.empty()) path_ = "res/prefs.txt";
    return path_;
}

bool Preferences::GetInt(const std::string& key, int& out) const {
    auto it = values_.find(key);
    if (it == values_.end() || it->second.type != Type::Integer) return false;
    out = it->second.integer;
    return true;
}

bool Preferences::GetReal(const std::string& key, double& out) const {
    auto it = values_.find(key);
    if (it == values_.end()) return false;
    if (it->second.type == Type::Real) {
        out = it->second.real;
        return true;
    }
    if (it->second.type == Type::Integer) {
        out = it->second.integer;
        return true;
    }
    return false;
}

bool Preferences::GetString(const std::string& key, std::string& out) const {
    auto it = values_.find(key);
    if (it == values_.end() || it->second.type != Type::String) return false;
    out = it->second.text;
    return true;
}

bool Preferences::GetStringList(const std::string& key, std::vector<std::string>& out) const {
    std::string text;
    if (!GetString(key, text)) return false;
    std::vector<std::string> items;
    size_t start = 0;
    for (size_t semicolon; (semicolon = text.find(';', start)) != std::string::npos; start = semicolon + 1) {
        items.push_back(text.substr(start, semicolon - start));
    }
    if (items.empty()) return false;
    out = std::move(items);
    return true;
}

void Preferences::SetInt(const std::string& key, int value) {
    Value& v = values_[key] = Value{};
    v.type = Type::Integer;
    v.integer = value;
}

void Preferences::SetReal(const std::string& key, double value) {
    Value& v = values_[key] = Value{};
    v.type = Type::Real;
    v.real = value;
}

void Preferences::SetString(const std::string& key, const std::string& value) {
    Value& v = values_[key] = Value{};
    v.type = Type::String;
    v.text = value;
}

void Preferences::SetStringList(const std::string& key, const std::vector<std::string>& items) {
    std::string joined;
    for (const std::string& item : items) joined += item + ";";
    SetString(key, joined);
}

Status Preferences::LoadFromText(const std::string& bytes) {
    PrefsReader reader(bytes);
    for (;;) {
        int terminator = 0;
        const size_t lineStart = reader.Position();
        std::string key = reader.ReadKey(terminator);
        if (key.empty()) return Ok();
        if (terminator != ' ')
            return Fail("the preferences stop at byte " + std::to_string(lineStart) + ": a name is not followed by a space");
        size_t valueStart = reader.Position();
        int integer = 0;
        double real = 0;
        std::string text;
        if (reader.ReadInteger(integer)) {
            SetInt(key, integer);
        } else if (reader.Seek(valueStart), reader.ReadReal(real)) {
            SetReal(key, real);
        } else if (reader.Seek(valueStart), reader.ReadString(text)) {
            SetString(key, text);
        } else {
            reader.Seek(valueStart);
        }
        if (reader.AtEnd()) return Ok();
    }
}

Status Preferences::Load() {
    constexpr size_t kMaxPrefsFile = 16u << 20;
    Result<std::vector<uint8_t>> bytes = ReadFileBytes(Path(), kMaxPrefsFile);
    if (!bytes) return std::move(bytes).TakeError();
    if (Status read = LoadFromText(std::string(bytes->begin(), bytes->end())); !read)
        return Fail("'" + Path() + "': " + read.error());
    return Ok();
}

std::string Preferences::SaveToText() const {
    std::string out;
    char number[512];  // the longest real in fixed notation (1e308) fits whole
    for (const auto& [key, value] : values_) {
        out += key;
        switch (value.type) {
        case Type::Integer:
            std::snprintf(number, sizeof number, " %d\n", value.integer);
            out += number;
            break;
        case Type::Real:
            std::snprintf(number, sizeof number, " %.6lf\n", value.real);
            out += number;
            break;
        case Type::String:
            out += " \"" + value.text + "\"\n";
            break;
        }
    }
    return out;
}

Status Preferences::Save() {
    // A failed save keeps the old file.
    std::string text = SaveToText();
    return WriteFileAtomically(Path(), reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

bool GetPrefInt(const char* key, int& out) { return Preferences::Instance().GetInt(key, out); }
bool GetPrefReal(const char* key, double& out) { return Preferences::Instance().GetReal(key, out); }
bool GetPrefString(const char* key, std::string& out) { return Preferences::Instance().GetString(key, out); }
bool GetPrefStringList(const char* key, std::vector<std::string>& out) {
    return Preferences::Instance().GetStringList(key, out);
}
void SetPrefInt(const char* key, int value) { Preferences::Instance().SetInt(key, value); }
void SetPrefReal(const char* key, double value) { Preferences::Instance().SetReal(key, value); }
void SetPrefString(const char* key, const std::string& value) { Preferences::Instance().SetString(key, value); }
void SetPrefStringList(const char* key, const std::vector<std::string>& items) {
    Preferences::Instance().SetStringList(key, items);
}
Status LoadPrefs() { return Preferences::Instance().Load(); }
Status SavePrefs() { return Preferences::Instance().Save(); }

}  // namespace tamber::base
