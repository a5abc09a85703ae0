#pragma once
// Plays the challenge's cues through the desktop's sound system; where there is none, the system
// bell stands in and one line on standard error says why.
#include <QTemporaryDir>
#include <array>
#include <memory>

#include "data/sound_cues.h"

class QSoundEffect;

namespace mitoran {

class CuePlayer {
  public:
    CuePlayer();  // loads in the background; the first cue may come a moment later
    ~CuePlayer();
    void play(SoundCue cue);

  private:
    void fallBack(const char* why);
    void forgetFilesOnceLoaded();

    std::array<QSoundEffect*, std::size(kAllSoundCues)> effects_{};
    std::unique_ptr<QTemporaryDir> folder_;
    bool bellOnly_ = false;
    bool told_ = false;
};

}  // namespace mitoran
