// The player: refused with a reason when there is no device, played to the end
// off the calling thread on ALSA's "null" device, stopped at once.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "sounds/editor/SoundPlayer.h"
#include "tests/sounds/SoundTestSupport.h"

using namespace tamber::sounds::editor;

namespace {

// Waits (bounded by rounds, not time) for the player's thread to finish.
bool WaitUntilDone(const SoundPlayer& player) {
    for (int round = 0; round < 2000 && player.IsPlaying(); ++round)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return !player.IsPlaying();
}

}  // namespace

TEST(SoundPlayer, RefusesWithoutADeviceAndPlaysOffTheCallingThread) {
    const std::vector<int16_t> tone = sound_test::Tone(22050, 2);
    SoundPlayer player;

    SoundPlayer::SetDeviceName("tamber-no-such-device");
    const tamber::base::Status refused = player.Play(tone.data(), tone.size(), 2, 22050);
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.error().find("no audio device could be opened"), std::string::npos) << refused.error();
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_FALSE(player.Play(tone.data(), tone.size(), 0, 22050));

    // ALSA's null device takes samples without a sound card.
    SoundPlayer::SetDeviceName("null");
    ASSERT_TRUE(player.Play(tone.data(), tone.size(), 2, 22050));
    ASSERT_TRUE(WaitUntilDone(player));
    EXPECT_EQ(player.FramesWritten(), 22050u);

    // A second sound replaces the first; Stop ends it and can be repeated.
    const std::vector<int16_t> mono = sound_test::Tone(44100 * 30, 1);
    ASSERT_TRUE(player.Play(mono.data(), mono.size(), 1, 44100));
    player.Stop();
    EXPECT_FALSE(player.IsPlaying());
    player.Stop();
    ASSERT_TRUE(player.Play(mono.data(), 0, 1, 44100));
    EXPECT_TRUE(WaitUntilDone(player));
    EXPECT_EQ(player.FramesWritten(), 0u);
    SoundPlayer::SetDeviceName("default");
}
