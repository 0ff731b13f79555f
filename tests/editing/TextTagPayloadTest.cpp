// The text tag payload rules without a window: string lists split at NULs and line
// ends and written back with carriage returns, whole texts kept byte for byte
// (the bytes from a NUL on kept aside and written back), and sizes checked
// against the file.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tags/TextTagPayload.h"

using namespace tamber::tags;

namespace {

std::string FromBytes(const char (&group)[5], const std::string& bytes, std::string* tail = nullptr) {
    TextTagText text = TextFromPayload(FourCC(group), {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
    if (tail) *tail = text.tail;
    return text.text;
}

}  // namespace

TEST(TextTagPayload, StringListsAndWholeTexts) {
    EXPECT_EQ(FromBytes("stli", std::string("alpha\0beta\0\0gamma\0", 18)), "alpha\nbeta\ngamma\n");
    EXPECT_EQ(PayloadFromText("alpha\nbeta\ngamma\n"), "alpha\rbeta\rgamma\r");
    EXPECT_EQ(FromBytes("temp", "\r\none\r\ntwo\n\rthree"), "one\ntwo\nthree\n");

    const std::string text = "line one\rline two\r\rtabs\tand \xA5 high bytes\r";
    EXPECT_EQ(FromBytes("text", text), text);
    EXPECT_EQ(PayloadFromText(text), text);
    // The text ends at its first NUL; what follows is kept aside and written back after the text.
    std::string tail;
    EXPECT_EQ(FromBytes("ditl", std::string("end\0\0", 5), &tail), "end");
    EXPECT_EQ(tail, std::string("\0\0", 2));
    EXPECT_EQ(FromBytes("scri", std::string("kept\0lost\r", 10), &tail), "kept");
    EXPECT_EQ(PayloadFromText("new\n", tail), std::string("new\r\0lost\r", 10));
}

TEST(TextTagPayload, StreamsAreReadExactlyAndCheckedAgainstTheFile) {
    FILE* stream = std::tmpfile();
    const std::string file = std::string(kTagHeaderSize, 'h') + std::string("one\0two\0", 8) + "next tag";
    std::fwrite(file.data(), 1, file.size(), stream);
    std::fflush(stream);
    TagHeader header{};
    header.group = FourCC("stli");
    header.offset = kTagHeaderSize;
    header.size = 8;
    EXPECT_EQ(ReadTextTagPayload(stream, header)->text, "one\ntwo\n");
    // A size or offset beyond the end of the file is refused before anything is allocated.
    header.size = 0xFFFFFFF0u;
    const Result<TextTagText> cut = ReadTextTagPayload(stream, header);
    ASSERT_FALSE(cut);
    EXPECT_EQ(cut.error(), "the payload is cut short");
    header.size = 17;
    EXPECT_FALSE(ReadTextTagPayload(stream, header));
    header.offset = 0xFFFFFFFFu;
    header.size = 0;
    EXPECT_FALSE(ReadTextTagPayload(stream, header));

    // An empty text writes nothing; line feeds are written as carriage returns.
    std::rewind(stream);
    EXPECT_TRUE(WriteTextTagPayload(stream, ""));
    EXPECT_EQ(std::ftell(stream), 0);
    EXPECT_TRUE(WriteTextTagPayload(stream, "a\nb"));
    std::rewind(stream);
    char written[4] = {};
    EXPECT_EQ(std::fread(written, 1, 3, stream), 3u);
    EXPECT_STREQ(written, "a\rb");
    std::fclose(stream);
}
