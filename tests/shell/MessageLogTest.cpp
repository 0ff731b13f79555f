#include "base/MessageLog.h"

#include <gtest/gtest.h>

using namespace tamber::base;

TEST(MessageLog, ChannelsIgnoreCaseKeepFirstSpellingAndCutLongText) {
    MessageLog& log = MessageLog::Instance();
    log.Clear();
    std::vector<std::pair<std::string, int>> seen;
    log.SetListener([&](const MessageLog::Channel& c, const std::string&, int show) { seen.push_back({c.name, show}); });
    LogMessage(0, "Codex", "INFO: %d tag%s\n", 2, "s");
    LogMessage(1, "CODEX", "WARNING: x\n");
    ASSERT_EQ(log.Channels().size(), 1u);
    EXPECT_EQ(log.Channels()[0].name, "Codex");
    EXPECT_EQ(log.Find("codex")->text, "INFO: 2 tags\nWARNING: x\n");
    EXPECT_EQ(seen, (std::vector<std::pair<std::string, int>>{{"Codex", 0}, {"Codex", 1}}));

    std::string longText(5000, 'x');
    LogMessage(0, "Other", "%s", longText.c_str());
    EXPECT_EQ(log.Find("Other")->text.size(), 4095u);
    log.SetListener(nullptr);
    log.Clear();
}
