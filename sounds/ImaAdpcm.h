#pragma once
// 4:1 IMA ADPCM in 34-byte packets of 64 samples of one channel: a big-endian
// 16-bit header (top 9 bits the initial predictor, low 7 bits the step index),
// then 32 bytes of 4-bit codes, low nibble first. Every packet starts from its
// own header.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tamber::sounds {

constexpr size_t kImaPacketBytes = 34;
constexpr size_t kImaPacketSamples = 64;

// Decodes one packet into out[0], out[stride], ... out[63 * stride].
void DecodeImaPacket(const uint8_t* packet, int16_t* out, size_t stride);

// Decodes `packetCount` packets whose channels alternate packet by packet into
// packetCount x 64 interleaved samples. With two channels an odd last packet
// has no partner and its samples stay zero.
std::vector<int16_t> DecodeImaPackets(const uint8_t* packets, size_t packetCount, uint32_t channels);

// Encodes interleaved samples (`frames` frames of `channels` channels) into
// packets in the same order; the last packet of each channel is padded with
// silence.
std::vector<uint8_t> EncodeImaPackets(const int16_t* samples, size_t frames, uint32_t channels);

}  // namespace tamber::sounds
