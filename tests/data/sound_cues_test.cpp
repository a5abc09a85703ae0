// The cue tones: a WAV that any player reads, of the promised length and pitch, without clicks.
#include "data/sound_cues.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace mitoran {
namespace {

std::uint32_t le(const std::string& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}

std::vector<int> samplesOf(const std::string& wav) {
    std::vector<int> s;
    for (std::size_t at = 44; at + 1 < wav.size(); at += 2)
        s.push_back(static_cast<std::int16_t>(le(wav, at, 2)));
    return s;
}

TEST(SoundCues, EachToneIsAShortCleanSineOfItsPitch) {
    for (SoundCue cue : kAllSoundCues) {
        const Tone tone = toneOf(cue);
        const std::string wav = cueWav(tone);
        const std::size_t samples = std::size_t(tone.durationMs) * kCueSampleRate / 1000;
        SCOPED_TRACE(tone.frequencyHz);
        ASSERT_EQ(wav.size(), 44 + 2 * samples);
        EXPECT_EQ(wav.substr(0, 4) + wav.substr(8, 8) + wav.substr(36, 4), "RIFFWAVEfmt data");
        EXPECT_EQ(le(wav, 4, 4), wav.size() - 8);
        EXPECT_EQ(le(wav, 16, 4), 16u);  // plain PCM format block
        EXPECT_EQ(le(wav, 20, 2), 1u);   // PCM
        EXPECT_EQ(le(wav, 22, 2), 1u);   // mono
        EXPECT_EQ(le(wav, 24, 4), std::uint32_t(kCueSampleRate));
        EXPECT_EQ(le(wav, 28, 4), std::uint32_t(kCueSampleRate * 2));
        EXPECT_EQ(le(wav, 32, 2) << 16 | le(wav, 34, 2), 2u << 16 | 16u);
        EXPECT_EQ(le(wav, 40, 4), 2 * samples);

        const std::vector<int> s = samplesOf(wav);
        int crossings = 0, peak = 0, last = 0;
        for (int v : s) {
            if (v != 0 && last != 0 && (v > 0) != (last > 0)) ++crossings;
            if (v != 0) last = v;
            peak = std::max(peak, std::abs(v));
        }
        const int expected = 2 * tone.frequencyHz * tone.durationMs / 1000;
        EXPECT_NEAR(crossings, expected, 2);
        // Half scale at most, and silent at both ends so nothing clicks.
        EXPECT_NEAR(peak, 16384, 200);
        EXPECT_LT(std::abs(s.front()), 100);
        EXPECT_LT(std::abs(s.back()), 100);
    }
}

TEST(SoundCues, RedAndYellowAloneShareATone) {
    EXPECT_EQ(cueWav(toneOf(SoundCue::Red)), cueWav(toneOf(SoundCue::Yellow)));
    EXPECT_GT(toneOf(SoundCue::Green).frequencyHz, toneOf(SoundCue::Red).frequencyHz);
    std::set<std::string> distinct;
    for (SoundCue cue : kAllSoundCues) distinct.insert(cueWav(toneOf(cue)));
    EXPECT_EQ(distinct.size(), std::size(kAllSoundCues) - 1);
}

}  // namespace
}  // namespace mitoran
