#include "data/sound_cues.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace mitoran {
namespace {

void put16(std::string& out, std::uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

void put32(std::string& out, std::uint32_t v) {
    put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
    put16(out, static_cast<std::uint16_t>(v >> 16));
}

}  // namespace

Tone toneOf(SoundCue cue) {
    switch (cue) {
        case SoundCue::Red:
        case SoundCue::Yellow:
            return {880, 200};
        case SoundCue::Green:
            return {1760, 500};
        case SoundCue::Countdown:
            return {1000, 150};
        case SoundCue::CountBox:
            return {660, 800};
        case SoundCue::Saved:
            return {1320, 250};
    }
    return {880, 200};
}

std::string cueWav(const Tone& tone) {
    const int samples = static_cast<int>(static_cast<std::int64_t>(std::max(0, tone.durationMs)) *
                                         kCueSampleRate / 1000);
    const int fade = std::min(kCueFadeMs * kCueSampleRate / 1000, samples / 2);
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples) * 2;

    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, kCueSampleRate);
    put32(out, kCueSampleRate * 2);
    put16(out, 2);
    put16(out, 16);
    out += "data";
    put32(out, dataBytes);

    constexpr double kAmplitude = 0.5 * 32767;
    const double step = 2 * std::numbers::pi * tone.frequencyHz / kCueSampleRate;
    for (int i = 0; i < samples; ++i) {
        const int edge = std::min(i, samples - 1 - i);
        const double gain =
            edge < fade ? 0.5 - 0.5 * std::cos(std::numbers::pi * edge / fade) : 1.0;
        const double v = kAmplitude * gain * std::sin(step * i);
        put16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(v))));
    }
    return out;
}

}  // namespace mitoran
