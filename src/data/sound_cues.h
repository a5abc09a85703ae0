#pragma once
// The sounds of the Quick Muscle challenge: short sine tones of our own, made as WAV bytes so the
// window layer can hand them to the desktop's sound system.
#include <cstdint>
#include <string>

namespace mitoran {

enum class SoundCue {
    Red,        // the signal's first lamp
    Yellow,     // its second, the same tone as red
    Green,      // go: higher and longer, unmistakable
    Countdown,  // each of the last seconds
    CountBox,   // the time is up: the count is asked for
    Saved,      // the attempt was recorded
};
inline constexpr SoundCue kAllSoundCues[] = {SoundCue::Red,      SoundCue::Yellow,
                                             SoundCue::Green,    SoundCue::Countdown,
                                             SoundCue::CountBox, SoundCue::Saved};

struct Tone {
    int frequencyHz = 0;
    int durationMs = 0;
};

Tone toneOf(SoundCue cue);

inline constexpr int kCueSampleRate = 44100;
// Each end fades over this long: a tone that starts or stops at full amplitude clicks.
inline constexpr int kCueFadeMs = 10;

// A mono 16-bit PCM WAV file of the tone at about half of full scale, so the desktop's volume
// alone decides how loud it is.
std::string cueWav(const Tone& tone);

}  // namespace mitoran
