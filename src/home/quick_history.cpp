#include "home/quick_history.h"

#include "data/records.h"

namespace mitoran {

std::optional<std::int16_t> secondsOf(std::string_view text) {
    return toInt16(leadingNumber(text));
}

std::string presetSecondsText(const std::vector<QuickRecord>& records) {
    if (records.empty()) return "180";
    const std::optional<std::int16_t> s = secondsOf(records.back().seconds);
    if (!s || *s == 0) return "180";
    return std::to_string(*s);
}

std::string quickWhenText(std::string_view storedDate, std::string_view storedTime) {
    const std::optional<Date> d = parseDate(storedDate);
    const std::optional<std::string> hm = formatHourMinute(storedTime);
    return (d ? formatShortDate(*d) : std::string(storedDate)) + "  " +
           (hm ? *hm : std::string(storedTime));
}

std::string quickWhenText(const LocalDateTime& when) {
    return quickWhenText(formatStoredDate(when.date),
                         formatStoredTime(when.hour, when.minute, when.second));
}

QuickListing listQuickAttempts(const std::vector<QuickRecord>& records,
                               std::string_view secondsText) {
    QuickListing out;
    const double wanted = leadingNumber(secondsText);
    for (const QuickRecord& r : records) {
        if (leadingNumber(r.seconds) != wanted) continue;
        out.rows.push_back({std::to_string(out.rows.size() + 1), quickWhenText(r.date, r.time),
                            r.seconds, r.count});
        const double count = leadingNumber(r.count);
        if (count > out.best) out.best = roundHalfEven(count);
    }
    return out;
}

std::string bestText(double best) { return formatNumber(best); }

void QuickChallenge::start() {
    startRequested_ = true;
    signalStep_ = 0;
    stopRequested_ = false;
}

void QuickChallenge::stop() { stopRequested_ = true; }

QuickChallenge::SignalTick QuickChallenge::signalTick(std::int64_t nowSeconds,
                                                      std::int16_t seconds) {
    if (!startRequested_) {
        signalStep_ = 0;
        return {};
    }
    // A stop pressed during the signal cancels it at the next countdown tick; until then no
    // further lamp lights, whichever timer happens to tick first.
    if (stopRequested_) return {};
    ++signalStep_;
    SignalTick tick{signalStep_, false};
    if (signalStep_ == 3) {
        startRequested_ = false;
        runSeconds_ = seconds;
        endTime_ = nowSeconds + seconds;
        running_ = true;
        tick.started = true;
    }
    return tick;
}

QuickChallenge::CountdownTick QuickChallenge::countdownTick(std::int64_t nowSeconds) {
    CountdownTick tick;
    if (stopRequested_) {
        tick.stopHandled = true;
        tick.signalCancelled = startRequested_;
        running_ = false;
        startRequested_ = false;
        signalStep_ = 0;
        stopRequested_ = false;
    }
    if (!running_) return tick;
    const std::int64_t remaining = endTime_ - nowSeconds;
    tick.remaining = remaining;
    if (remaining >= 1) {
        if (remaining <= 5) tick.cue = SoundCue::Countdown;
        return tick;
    }
    tick.cue = SoundCue::CountBox;
    running_ = false;
    tick.finished = true;
    return tick;
}

}  // namespace mitoran
