#include "sounds/editor/SoundPlayer.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <chrono>
#include <mutex>

namespace tamber::sounds::editor {
using namespace tamber::base;

namespace {

// A twentieth of a second per write, so Stop is heard at once.
constexpr uint32_t kChunksPerSecond = 20;
constexpr unsigned kLatencyMicroseconds = 100000;

std::mutex gDeviceMutex;
std::string gDeviceName = "default";

// ALSA prints its configuration errors to stderr; the reason reaches the user
// through the returned status instead.
void QuietAlsaErrors(const char*, int, const char*, int, const char*, ...) {}

std::string AlsaReason(int error) { return snd_strerror(error); }

}  // namespace

SoundPlayer::~SoundPlayer() { Stop(); }

void SoundPlayer::SetDeviceName(const std::string& name) {
    std::lock_guard<std::mutex> lock(gDeviceMutex);
    gDeviceName = name;
}

std::string SoundPlayer::DeviceName() {
    std::lock_guard<std::mutex> lock(gDeviceMutex);
    return gDeviceName;
}

Status SoundPlayer::Play(const int16_t* samples, size_t sampleCount, uint32_t channels, uint32_t rate) {
    Stop();
    if (channels == 0 || rate == 0) return Fail("the sound has no channels or no sample rate");
    static std::once_flag quiet;
    std::call_once(quiet, [] { snd_lib_error_set_handler(&QuietAlsaErrors); });
    const std::string device = DeviceName();
    snd_pcm_t* pcm = nullptr;
    // Opened without blocking, so a device in use by another program fails at once.
    int error = snd_pcm_open(&pcm, device.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (error < 0)
        return Fail("no audio device could be opened (ALSA device '" + device + "': " + AlsaReason(error) + ")");
    error = snd_pcm_nonblock(pcm, 0);
    if (error >= 0)
        error = snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, channels, rate, 1,
                                   kLatencyMicroseconds);
    if (error < 0) {
        snd_pcm_close(pcm);
        return Fail("the audio device refused " + std::to_string(channels) + " channels at " + std::to_string(rate) +
                    " Hz (" + AlsaReason(error) + ")");
    }
    stop_ = false;
    playing_ = true;
    framesWritten_ = 0;
    thread_ = std::thread(&SoundPlayer::Run, this, pcm, std::vector<int16_t>(samples, samples + sampleCount), channels,
                          rate);
    return Ok();
}

void SoundPlayer::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    playing_ = false;
}

void SoundPlayer::Run(void* device, std::vector<int16_t> samples, uint32_t channels, uint32_t rate) {
    auto* pcm = static_cast<snd_pcm_t*>(device);
    const size_t frames = samples.size() / channels;
    const size_t chunk = std::max<size_t>(rate / kChunksPerSecond, 1);
    size_t at = 0;
    while (at < frames && !stop_) {
        const size_t n = std::min(chunk, frames - at);
        snd_pcm_sframes_t written = snd_pcm_writei(pcm, &samples[at * channels], n);
        // An underrun (the machine was busy) is recovered from; other errors end the sound.
        if (written < 0) written = snd_pcm_recover(pcm, int(written), 1) < 0 ? -1 : 0;
        if (written < 0) break;
        at += size_t(written);
        framesWritten_ = at;
    }
    // Let the device play what it holds, unless stopped.
    snd_pcm_sframes_t delay = 0;
    while (!stop_ && snd_pcm_delay(pcm, &delay) == 0 && delay > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    snd_pcm_drop(pcm);
    snd_pcm_close(pcm);
    playing_ = false;
}

}  // namespace tamber::sounds::editor
