#pragma once
// Plays 16-bit interleaved samples on the audio device from a thread of its own,
// so the interface goes on while a sound plays. One sound at a time: playing
// another stops the one before.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "base/Result.h"

namespace tamber::sounds::editor {

class SoundPlayer {
public:
    SoundPlayer() = default;
    // Stops the sound and waits for the thread.
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Opens the device and starts playing a copy of the samples; fails with a
    // reason a user can read when no device can be opened or it refuses the
    // format. Nothing plays after a failure.
    [[nodiscard]] base::Status Play(const int16_t* samples, size_t sampleCount, uint32_t channels, uint32_t rate);
    // Ends the sound at once; nothing when nothing plays.
    void Stop();
    bool IsPlaying() const { return playing_; }
    // Frames handed to the device for the sound playing or played last.
    size_t FramesWritten() const { return framesWritten_; }

    // The ALSA device every player opens ("default" unless changed; tests pick
    // "null", which takes samples without a sound card, or a missing name).
    static void SetDeviceName(const std::string& name);
    static std::string DeviceName();

private:
    void Run(void* pcm, std::vector<int16_t> samples, uint32_t channels, uint32_t rate);

    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> playing_{false};
    std::atomic<size_t> framesWritten_{0};
};

}  // namespace tamber::sounds::editor
