#include "ui/cue_player.h"

#include <QApplication>
#include <QAudioSink>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QTimer>
#include <cstdio>

namespace mitoran {
namespace {
constexpr int kWavHeaderBytes = 44;  // cueWav writes the plain 44-byte header
constexpr int kWatchMs = 100;
// However the server lags, a stream is closed this long after its tone.
constexpr qint64 kLongestDrainMs = 5000;
}  // namespace

CuePlayer::CuePlayer() {
    {
        // The sound system's own complaint when there is no server would be a second line on
        // standard error; ours below says it once, in words the user can act on.
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        output_ = QMediaDevices::defaultAudioOutput();
        qInstallMessageHandler(previous);
    }
    format_.setSampleRate(kCueSampleRate);
    format_.setChannelCount(1);
    format_.setSampleFormat(QAudioFormat::Int16);
    if (output_.isNull()) {
        fallBack("no sound output");
        return;
    }
    if (!output_.isFormatSupported(format_)) {
        fallBack("the sound output takes no 16-bit mono sound");
        return;
    }
    for (std::size_t i = 0; i < samples_.size(); ++i) {
        const std::string wav = cueWav(toneOf(kAllSoundCues[i]));
        samples_[i] = QByteArray(wav.data() + kWavHeaderBytes,
                                 static_cast<qsizetype>(wav.size()) - kWavHeaderBytes);
    }
}

void CuePlayer::fallBack(const char* why) {
    bellOnly_ = true;
    if (told_) return;
    told_ = true;
    std::fprintf(stderr, "mitoran: %s; the challenge's cues use the system bell\n", why);
}

void CuePlayer::play(SoundCue cue) {
    if (bellOnly_) {
        QApplication::beep();
        return;
    }
    // A stream of its own for every cue, handed the whole tone at once: a cue never cuts the one
    // before it short, and the sound server holds no stream between cues.
    const QByteArray& pcm = samples_[static_cast<std::size_t>(cue)];
    auto* sink = new QAudioSink(output_, format_);
    sink->setBufferSize(pcm.size());
    QIODevice* stream = sink->start();
    if (!stream || sink->error() != QAudio::NoError) {
        delete sink;
        fallBack("the sound output did not open");
        QApplication::beep();
        return;
    }
    stream->write(pcm);
    // The stream goes only once the server has taken the whole tone (it reports an underrun):
    // a sound server that mixes in long blocks would drop a stream closed any earlier.
    const qint64 toneMs = pcm.size() * 1000 / format_.bytesForDuration(1'000'000);
    auto* watch = new QTimer(sink);
    QElapsedTimer clock;
    clock.start();
    QObject::connect(watch, &QTimer::timeout, sink, [sink, watch, clock, toneMs] {
        const qint64 ms = clock.elapsed();
        if ((ms >= toneMs && sink->state() != QAudio::ActiveState) ||
            ms > toneMs + kLongestDrainMs) {
            watch->stop();
            sink->stop();
            sink->deleteLater();
        }
    });
    watch->start(kWatchMs);
}

}  // namespace mitoran
