#include "ui/cue_player.h"

#include <QApplication>
#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <cstdio>
#include <map>

namespace mitoran {

CuePlayer::CuePlayer() {
    if (QMediaDevices::audioOutputs().isEmpty()) {
        fallBack("no sound output");
        return;
    }
    folder_ = std::make_unique<QTemporaryDir>();
    if (!folder_->isValid()) {
        fallBack("no temporary folder for the sounds");
        return;
    }
    // Cues with the same tone share one file.
    std::map<std::pair<int, int>, QString> files;
    for (std::size_t i = 0; i < effects_.size(); ++i) {
        const Tone tone = toneOf(kAllSoundCues[i]);
        QString& path = files[{tone.frequencyHz, tone.durationMs}];
        if (path.isEmpty()) {
            path = folder_->filePath(QStringLiteral("cue%1.wav").arg(i));
            QFile f(path);
            const std::string wav = cueWav(tone);
            if (!f.open(QIODevice::WriteOnly) ||
                f.write(wav.data(), static_cast<qint64>(wav.size())) !=
                    static_cast<qint64>(wav.size()) ||
                !f.flush()) {
                fallBack("cannot write the sounds");
                return;
            }
        }
        auto* effect = new QSoundEffect;
        effects_[i] = effect;
        QObject::connect(effect, &QSoundEffect::statusChanged, effect,
                         [this] { forgetFilesOnceLoaded(); });
        effect->setSource(QUrl::fromLocalFile(path));
    }
}

CuePlayer::~CuePlayer() {
    for (QSoundEffect* e : effects_) delete e;
}

void CuePlayer::forgetFilesOnceLoaded() {
    // A loaded effect keeps its samples; the files need not outlive the loading, and a program
    // ended at once would otherwise leave them behind.
    for (QSoundEffect* e : effects_)
        if (!e || e->status() == QSoundEffect::Loading || e->status() == QSoundEffect::Null) return;
    folder_.reset();
}

void CuePlayer::fallBack(const char* why) {
    bellOnly_ = true;
    if (told_) return;
    told_ = true;
    std::fprintf(stderr, "mitoran: %s; the challenge's cues use the system bell\n", why);
}

void CuePlayer::play(SoundCue cue) {
    QSoundEffect* effect = bellOnly_ ? nullptr : effects_[static_cast<std::size_t>(cue)];
    if (effect && effect->status() == QSoundEffect::Error) fallBack("a sound did not load");
    if (!effect || effect->status() == QSoundEffect::Error) {
        QApplication::beep();
        return;
    }
    effect->play();
}

}  // namespace mitoran
