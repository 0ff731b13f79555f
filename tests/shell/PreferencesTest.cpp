#include "base/Preferences.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace tamber::base;

namespace {

Preferences Loaded(const std::string& text, bool* result = nullptr) {
    Preferences prefs;
    const bool ok = prefs.LoadFromText(text).ok();
    if (result) *result = ok;
    return prefs;
}

}  // namespace

TEST(Preferences, ValuesAreTypedAndLineEndsMayBeCrLf) {
    for (const char* eol : {"\n", "\r\n"}) {
        std::string e = eol;
        bool ok = false;
        Preferences prefs = Loaded("Scale 2" + e + "Ratio 2.5" + e + "VeskPath \"/games/vesk 2\"" + e +
                                       "Neg -7" + e + "Empty \"\"" + e,
                                   &ok);
        EXPECT_TRUE(ok);
        int i = 0;
        double r = 0;
        std::string s;
        EXPECT_TRUE(prefs.GetInt("Scale", i));
        EXPECT_EQ(i, 2);
        EXPECT_TRUE(prefs.GetReal("Scale", r));
        EXPECT_EQ(r, 2.0);
        EXPECT_FALSE(prefs.GetInt("Ratio", i));
        EXPECT_TRUE(prefs.GetReal("Ratio", r));
        EXPECT_EQ(r, 2.5);
        EXPECT_TRUE(prefs.GetString("VeskPath", s));
        EXPECT_EQ(s, "/games/vesk 2");
        EXPECT_FALSE(prefs.GetReal("VeskPath", r));
        EXPECT_TRUE(prefs.GetInt("Neg", i));
        EXPECT_EQ(i, -7);
        EXPECT_TRUE(prefs.GetString("Empty", s));
        EXPECT_EQ(s, "");
        EXPECT_FALSE(prefs.GetInt("Missing", i));
    }
}

TEST(Preferences, MalformedLinesEndLoadingKeepingEarlierValues) {
    int i = 0;
    bool ok = false;
    // An empty line or a line starting with a blank ends loading with success.
    Preferences a = Loaded("A 1\n\nB 2\n", &ok);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(a.GetInt("A", i));
    EXPECT_FALSE(a.GetInt("B", i));
    Preferences b = Loaded("A 1\n B 2\n", &ok);
    EXPECT_TRUE(ok);
    EXPECT_FALSE(b.GetInt("B", i));

    // A key ended by a line feed instead of a blank fails.
    Preferences c = Loaded("A 1\nLonely\nB 2\n", &ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(c.GetInt("A", i));
    EXPECT_FALSE(c.GetInt("B", i));

    // A value that cannot be read is reread as a key: a double quote inside a string
    // stops loading at that line.
    Preferences d = Loaded("A 1\nQ \"say \"hi\"\"\nB 2\n", &ok);
    EXPECT_FALSE(ok);
    std::string s;
    EXPECT_FALSE(d.GetString("Q", s));
    EXPECT_FALSE(d.GetInt("B", i));

    // A last line without a line feed is not stored.
    Preferences e = Loaded("A 1\nB 2", &ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(e.GetInt("A", i));
    EXPECT_FALSE(e.GetInt("B", i));

    // A value glued to other text (no line end) is not taken; the rest is reread.
    Preferences f = Loaded("A 5x\n", &ok);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(f.GetInt("A", i));

    // A control character inside a string fails it.
    Preferences g = Loaded("A \"x\ty\"\n", &ok);
    EXPECT_FALSE(g.GetString("A", s));
}

TEST(Preferences, SavesInByteOrderAndRoundTripsNonAsciiPaths) {
    Preferences prefs;
    prefs.SetInt("UseFullscreen", 0);
    prefs.SetInt("ShowSplash", 1);
    prefs.SetInt("OsWindowSizeX", 800);
    prefs.SetReal("abc", 1.5);
    prefs.SetString("VeskPath", "/home/j\xc3\xb6rg/Vesk II");
    EXPECT_EQ(prefs.SaveToText(),
              "OsWindowSizeX 800\nShowSplash 1\nUseFullscreen 0\nVeskPath \"/home/j\xc3\xb6rg/Vesk II\"\n"
              "abc 1.500000\n");

    std::filesystem::path dir = std::filesystem::temp_directory_path() / "tamber_prefs_test";
    std::filesystem::create_directories(dir);
    prefs.SetPath((dir / "prefs.txt").string());
    ASSERT_TRUE(prefs.Save());
    EXPECT_FALSE(std::filesystem::exists(dir / "prefs.txt.tmp"));

    Preferences reread;
    reread.SetPath((dir / "prefs.txt").string());
    ASSERT_TRUE(reread.Load());
    std::string path;
    ASSERT_TRUE(reread.GetString("VeskPath", path));
    EXPECT_EQ(path, "/home/j\xc3\xb6rg/Vesk II");
    EXPECT_EQ(reread.SaveToText(), prefs.SaveToText());

    // A file that cannot be created leaves the store unsaved and reports it.
    reread.SetPath((dir / "missing-folder" / "prefs.txt").string());
    EXPECT_EQ("couldn't write '" + (dir / "missing-folder" / "prefs.txt").string() + "': No such file or directory",
              reread.Save().error());
    std::filesystem::remove_all(dir);

    Preferences missing;
    missing.SetPath("/nonexistent/prefs.txt");
    EXPECT_FALSE(missing.Load());
}

TEST(Preferences, StringListsNeedATerminatedItem) {
    Preferences prefs;
    std::vector<std::string> items;
    prefs.SetStringList("Set", {"a.dng", "b c.dng"});
    ASSERT_TRUE(prefs.GetStringList("Set", items));
    EXPECT_EQ(items, (std::vector<std::string>{"a.dng", "b c.dng"}));
    prefs.SetString("Set", "a;b");
    ASSERT_TRUE(prefs.GetStringList("Set", items));
    EXPECT_EQ(items, std::vector<std::string>{"a"});
    prefs.SetString("Set", "");
    EXPECT_FALSE(prefs.GetStringList("Set", items));
    EXPECT_EQ(items, std::vector<std::string>{"a"});
    prefs.SetInt("Set", 3);
    EXPECT_FALSE(prefs.GetStringList("Set", items));
}

TEST(Preferences, HugeRealsSaveWholeLines) {
    // A real too long for a short buffer once cut off its line end and joined the next entry.
    Preferences prefs;
    prefs.SetReal("Big", 1e308);
    prefs.SetInt("Next", 7);
    Preferences again;
    ASSERT_TRUE(again.LoadFromText(prefs.SaveToText()));
    int next = 0;
    EXPECT_TRUE(again.GetInt("Next", next));
    EXPECT_EQ(7, next);
    double big = 0;
    ASSERT_TRUE(again.GetReal("Big", big));
    EXPECT_EQ(1e308, big);
}
