#pragma once
// Plays the challenge's cues through the desktop's sound system; where there is none, the system
// bell stands in and one line on standard error says why.
#include <QAudioDevice>
#include <QAudioFormat>
#include <QByteArray>
#include <array>

#include "data/sound_cues.h"

namespace mitoran {

class CuePlayer {
  public:
    CuePlayer();  // makes the tones and finds the output
    void play(SoundCue cue);

  private:
    void fallBack(const char* why);

    std::array<QByteArray, std::size(kAllSoundCues)> samples_;
    QAudioDevice output_;
    QAudioFormat format_;
    bool bellOnly_ = false;
    bool told_ = false;
};

}  // namespace mitoran
