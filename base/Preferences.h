#pragma once
// The preferences store: typed named values read from res/prefs.txt at start-up
// and written back whole at normal shutdown. Keys compare byte by byte and are
// case-sensitive. The free functions below act on the process-wide store.
#include <map>
#include <string>
#include <vector>

#include "base/Result.h"

namespace tamber::base {

class Preferences {
public:
    enum class Type { Integer = 0, Real = 1, String = 2 };
    struct Value {
        Type type = Type::Integer;
        int integer = 0;
        double real = 0.0;
        std::string text;
    };

    static Preferences& Instance();

    bool GetInt(const std::string& key, int& out) const;
    // Integers convert to reals; strings do not.
    bool GetReal(const std::string& key, double& out) const;
    bool GetString(const std::string& key, std::string& out) const;
    // Items are stored each followed by ';'. True when at least one item results.
    bool GetStringList(const std::string& key, std::vector<std::string>& out) const;

    void SetInt(const std::string& key, int value);
    void SetReal(const std::string& key, double value);
    void SetString(const std::string& key, const std::string& value);
    void SetStringList(const std::string& key, const std::vector<std::string>& items);
    void Remove(const std::string& key) { values_.erase(key); }
    void Clear() { values_.clear(); }

    // An empty path means res/prefs.txt.
    void SetPath(const std::string& path) { path_ = path; }
    const std::string& Path();

    // Reads the file over the current values. Fails when the file is missing or
    // unreadable, or a line ended loading early; entries read before that point
    // are kept.
    Status Load();
    // Loads from memory (the same rules as Load); used by Load and by tests.
    Status LoadFromText(const std::string& bytes);
    // Writes every entry in key order; a failure keeps the old file.
    Status Save();
    std::string SaveToText() const;

    const std::map<std::string, Value>& Values() const { return values_; }

private:
    std::map<std::string, Value> values_;
    std::string path_;
};

bool GetPrefInt(const char* key, int& out);
bool GetPrefReal(const char* key, double& out);
bool GetPrefString(const char* key, std::string& out);
bool GetPrefStringList(const char* key, std::vector<std::string>& out);
void SetPrefInt(const char* key, int value);
void SetPrefReal(const char* key, double value);
void SetPrefString(const char* key, const std::string& value);
void SetPrefStringList(const char* key, const std::vector<std::string>& items);
Status LoadPrefs();
Status SavePrefs();

}  // namespace tamber::base
