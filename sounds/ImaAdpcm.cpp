#include "sounds/ImaAdpcm.h"

#include <algorithm>

namespace tamber::sounds {

namespace {

const int16_t kStepTable[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,    28,
    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,   118,
    130,   143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,   494,
    544,   598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
    2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,
    9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

const int8_t kIndexTable[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};

struct Channel {
    int32_t predictor = 0;
    int32_t index = 0;

    // Applies one code and returns the new sample.
    int16_t Step(uint8_t code) {
        const int32_t step = kStepTable[index];
        int32_t delta = step >> 3;
        if (code & 4) delta += step;
        if (code & 2) delta += step >> 1;
        if (code & 1) delta += step >> 2;
        if (code & 8) delta = -delta;
        predictor = std::clamp(predictor + delta, -32768, 32767);
        index = std::clamp(index + kIndexTable[code & 15], 0, 88);
        return int16_t(predictor);
    }
};

Channel ChannelFromHeader(const uint8_t* packet) {
    const uint16_t header = uint16_t(packet[0] << 8 | packet[1]);
    Channel channel;
    channel.predictor = int16_t(header & 0xFF80);
    channel.index = std::min(header & 0x7F, 88);
    return channel;
}

// The code for the difference between `target` and the channel's predictor,
// found bit by bit from the current step as the decoder will rebuild it.
uint8_t CodeFor(const Channel& channel, int32_t target) {
    int32_t difference = target - channel.predictor;
    uint8_t code = 0;
    if (difference < 0) {
        code = 8;
        difference = -difference;
    }
    int32_t step = kStepTable[channel.index];
    for (uint8_t bit = 4; bit != 0; bit >>= 1, step >>= 1) {
        if (difference >= step) {
            code |= bit;
            difference -= step;
        }
    }
    return code;
}

// Encodes one packet's samples from `start`; returns the summed squared error.
uint64_t EncodeFrom(Channel channel, const int16_t* samples, size_t stride, size_t available, uint8_t* codes) {
    uint64_t error = 0;
    for (size_t i = 0; i < kImaPacketSamples; ++i) {
        const int32_t target = i < available ? samples[i * stride] : 0;
        codes[i] = CodeFor(channel, target);
        const int64_t miss = int64_t(channel.Step(codes[i])) - target;
        error += uint64_t(miss * miss);
    }
    return error;
}

// Writes one packet. The decoder starts from the header, so the encoder does
// too: the predictor carried from the previous packet (the first sample for a
// first packet) loses its low 7 bits, and of the step indices near the carried
// one (any index for a first packet) the one that encodes the packet best is
// written.
void EncodePacket(const int16_t* samples, size_t stride, size_t available, bool first, Channel& state,
                  uint8_t* packet) {
    const int32_t carried = first && available > 0 ? samples[0] : state.predictor;
    const uint16_t predictorBits = uint16_t(uint16_t(int16_t(std::clamp(carried, -32768, 32767))) & 0xFF80);
    const int32_t lowest = first ? 0 : std::max(state.index - 8, 0);
    const int32_t highest = first ? 88 : std::min(state.index + 8, 88);
    uint8_t codes[kImaPacketSamples];
    uint8_t bestCodes[kImaPacketSamples] = {};
    uint64_t bestError = UINT64_MAX;
    int32_t bestIndex = lowest;
    for (int32_t index = lowest; index <= highest; ++index) {
        Channel start;
        start.predictor = int16_t(predictorBits);
        start.index = index;
        const uint64_t error = EncodeFrom(start, samples, stride, available, codes);
        if (error < bestError) {
            bestError = error;
            bestIndex = index;
            std::copy(codes, codes + kImaPacketSamples, bestCodes);
        }
    }
    const uint16_t header = uint16_t(predictorBits | uint16_t(bestIndex));
    packet[0] = uint8_t(header >> 8);
    packet[1] = uint8_t(header);
    for (size_t i = 0; i < kImaPacketSamples; i += 2) packet[2 + i / 2] = uint8_t(bestCodes[i] | bestCodes[i + 1] << 4);
    state = ChannelFromHeader(packet);
    for (uint8_t code : bestCodes) state.Step(code);
}

}  // namespace

void DecodeImaPacket(const uint8_t* packet, int16_t* out, size_t stride) {
    Channel channel = ChannelFromHeader(packet);
    for (size_t i = 0; i < kImaPacketSamples; ++i) {
        const uint8_t byte = packet[2 + i / 2];
        out[i * stride] = channel.Step((i & 1) ? byte >> 4 : byte & 15);
    }
}

std::vector<int16_t> DecodeImaPackets(const uint8_t* packets, size_t packetCount, uint32_t channels) {
    std::vector<int16_t> samples(packetCount * kImaPacketSamples, 0);
    if (channels == 0) return samples;
    const size_t groups = packetCount / channels;
    for (size_t r = 0; r < groups; ++r) {
        for (uint32_t c = 0; c < channels; ++c) {
            const size_t packet = r * channels + c;
            DecodeImaPacket(packets + packet * kImaPacketBytes, &samples[r * kImaPacketSamples * channels + c],
                            channels);
        }
    }
    return samples;
}

std::vector<uint8_t> EncodeImaPackets(const int16_t* samples, size_t frames, uint32_t channels) {
    if (channels == 0) return {};
    const size_t groups = (frames + kImaPacketSamples - 1) / kImaPacketSamples;
    std::vector<uint8_t> packets(groups * channels * kImaPacketBytes, 0);
    std::vector<Channel> states(channels);
    for (size_t r = 0; r < groups; ++r) {
        const size_t first = r * kImaPacketSamples;
        const size_t available = std::min(kImaPacketSamples, frames - first);
        for (uint32_t c = 0; c < channels; ++c) {
            EncodePacket(samples + first * channels + c, channels, available, r == 0, states[c],
                         &packets[(r * channels + c) * kImaPacketBytes]);
        }
    }
    return packets;
}

}  // namespace tamber::sounds
