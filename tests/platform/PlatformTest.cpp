#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "platform/Os.h"
#include "platform/OsDriver.h"
#include "platform/drivers/HeadlessDriver.h"

using namespace tamber::platform;

TEST(Platform, KeysTranslateToProgramCodes) {
    EXPECT_EQ(OsTranslateKey(GLFW_KEY_A), 'A');
    EXPECT_EQ(OsTranslateKey(GLFW_KEY_SPACE), 32);
    EXPECT_EQ(OsTranslateKey(GLFW_KEY_ESCAPE), 97);
    EXPECT_EQ(OsTranslateKey(GLFW_KEY_F1), 98);
    EXPECT_EQ(OsTranslateKey(GLFW_KEY_F15), 112);
    EXPECT_EQ(OsTranslateKey(GLFW_KEY_KP_ENTER), 144);
    EXPECT_EQ(OsTranslateKey(GLFW_KEY_KP_9), 155);
    EXPECT_EQ(OsTranslateKey(GLFW_KEY_RIGHT_ALT), 125);
    EXPECT_EQ(OsTranslateKey(GLFW_KEY_RIGHT), 138);
    EXPECT_EQ(OsTranslateKey(GLFW_KEY_CAPS_LOCK), 0);
    EXPECT_EQ(OsTranslateKey(GLFW_KEY_F16), 0);
    EXPECT_EQ(OsTranslateMouseButton(GLFW_MOUSE_BUTTON_MIDDLE), 2);
    EXPECT_EQ(OsTranslateMouseButton(GLFW_MOUSE_BUTTON_4), -1);
}

TEST(Platform, ClipboardBitmapsPadRowsAndRefuseOtherDepths) {
    // Five pixels wide: 15 bytes of pixels and one filler byte per row.
    std::vector<uint8_t> rgb(5 * 2 * 3);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = uint8_t(i * 7);
    std::vector<uint8_t> dib = OsEncodeDib(rgb.data(), 5, 2);
    ASSERT_EQ(dib.size(), 40u + 16u * 2u);
    EXPECT_EQ(dib[8], 2);  // positive height: rows run bottom-up
    // The first stored row is the bottom one, in blue-green-red order.
    EXPECT_EQ(dib[40], rgb[15 + 2]);
    EXPECT_EQ(dib[42], rgb[15 + 0]);

    std::vector<uint8_t> back;
    int w = 0, h = 0;
    ASSERT_TRUE(OsDecodeDib(dib, back, w, h));
    EXPECT_EQ(w, 5);
    EXPECT_EQ(h, 2);
    EXPECT_EQ(back, rgb);

    std::vector<uint8_t> truncated(dib.begin(), dib.end() - 1);
    EXPECT_FALSE(OsDecodeDib(truncated, back, w, h));
    std::vector<uint8_t> thirtyTwo = dib;
    thirtyTwo[14] = 32;
    EXPECT_FALSE(OsDecodeDib(thirtyTwo, back, w, h));
    std::vector<uint8_t> huge = dib;
    huge[4] = 0xFF, huge[5] = 0xFF, huge[6] = 0xFF, huge[7] = 0x7F;
    EXPECT_FALSE(OsDecodeDib(huge, back, w, h));
}

TEST(Platform, TextConvertsThroughUnicode) {
    EXPECT_EQ(OsUtf16ToUtf8(u"\u00e9\u20ac\U0001F600"), "\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80");
    EXPECT_EQ(OsUtf8ToUtf16("\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80"), u"\u00e9\u20ac\U0001F600");
    // Broken sequences become replacement characters instead of reading past the end.
    EXPECT_EQ(OsUtf8ToUtf16("a\xe2\x82"), u"a\uFFFD");
    EXPECT_EQ(OsUtf8ToUtf16("\xff"), u"\uFFFD");

    HeadlessDriver driver;
    OsSetDriver(&driver);
    OsInit();
    ASSERT_TRUE(OsSetWindow(640, 480, "Tamber", false, false));
    OsSetCharacterSet(
        [](const std::string& text) {
            std::u16string out;
            for (unsigned char c : text) out += c == 219 ? u'\u00a4' : char16_t(c);
            return out;
        },
        [](const std::u16string& text) {
            std::string out;
            for (char16_t c : text) out += char(c == u'\u00a4' ? 219 : c < 255 ? c : 255);
            return out;
        });
    ASSERT_TRUE(OsSetClipboardText("price \xdb"));
    EXPECT_EQ(driver.clipboardUtf8, "price \xc2\xa4");
    std::string text;
    ASSERT_TRUE(OsGetClipboardText(text));
    EXPECT_EQ(text, "price \xdb");
    OsSetCharacterSet(nullptr, nullptr);
    OsTerminate();
    OsSetDriver(nullptr);
}
