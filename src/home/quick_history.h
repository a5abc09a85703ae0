#pragma once
// The Quick Muscle challenge without its window: the list of earlier attempts, the seconds to
// start with, and the signal and countdown sequence driven by two one-second ticks. Pure.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/data_files.h"
#include "data/dates.h"
#include "data/sound_cues.h"

namespace mitoran {

// The text cboSec starts with: the seconds of the last attempt, "180" when there is none (or the
// last attempt's seconds are 0 or do not fit 16 bits).
std::string presetSecondsText(const std::vector<QuickRecord>& records);

// "YY年MM月DD日  HH時MM分". A stored text that does not convert is shown as stored.
std::string quickWhenText(std::string_view storedDate, std::string_view storedTime);
std::string quickWhenText(const LocalDateTime& when);

struct QuickRow {
    std::string number;
    std::string when;
    std::string seconds;  // as stored
    std::string count;    // as stored
};

struct QuickListing {
    std::vector<QuickRow> rows;
    double best = 0;  // a whole number; 0 when no attempt matches or none is positive
};

// The attempts whose seconds equal the number of `secondsText`, numbered from 1 in file order.
QuickListing listQuickAttempts(const std::vector<QuickRecord>& records,
                               std::string_view secondsText);

// The best count as lblQuick_Max shows it.
std::string bestText(double best);

// The seconds a text in cboSec stands for; nothing when its number does not fit 16 bits.
std::optional<std::int16_t> secondsOf(std::string_view text);

// The signal (three ticks: red, yellow, green) and the countdown to zero. Time is whole seconds
// of a clock that never jumps, so neither midnight nor a changed system clock disturbs it.
class QuickChallenge {
  public:
    struct SignalTick {
        int lamp = 0;          // the lamp to show now (1 red, 2 yellow, 3 green); 0: nothing to do
        bool started = false;  // the countdown began with this tick
    };
    struct CountdownTick {
        bool stopHandled = false;               // a stop was taken: back to idle
        bool signalCancelled = false;           // ... and it cut a signal sequence short
        std::optional<std::int64_t> remaining;  // a countdown tick: the seconds left to show
        std::optional<SoundCue> cue;            // the last seconds tick, the end asks for the count
        bool finished = false;                  // the countdown reached zero: ask for the count
    };

    void start();  // the start button; a stop pressed before is superseded
    void stop();   // the stop button; taken at the next countdown tick

    SignalTick signalTick(std::int64_t nowSeconds, std::int16_t seconds);
    CountdownTick countdownTick(std::int64_t nowSeconds);

    bool startRequested() const { return startRequested_; }
    int signalStep() const { return signalStep_; }
    bool running() const { return running_; }
    bool stopRequested() const { return stopRequested_; }
    // The seconds of the challenge that is counting down or has just ended.
    std::int16_t runSeconds() const { return runSeconds_; }

  private:
    bool startRequested_ = false;  // QuickStartRequested
    int signalStep_ = 0;           // QuickSignalStep
    bool running_ = false;         // QuickRunning
    bool stopRequested_ = false;   // QuickStopRequested
    std::int16_t runSeconds_ = 0;
    std::int64_t endTime_ = 0;  // QuickEndTime
};

}  // namespace mitoran
