// The sound backend module (loaded by platform/sound.cpp with the first
// sound): QSoundEffect for background clips, QMediaPlayer for clips played
// to their end, with the caller's watchdog so that a broken device never
// hangs the program.
#include <QAudioDevice>
#include <QAudioOutput>
#include <QEventLoop>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <map>
#include <memory>

namespace {

// Background clips: one effect per file, kept for the run.
QSoundEffect* EffectFor(const QString& path) {
    // Kept for the whole run (never destroyed after the application object).
    static auto* effects = new std::map<QString, std::unique_ptr<QSoundEffect>>;
    auto& slot = (*effects)[path];
    if (!slot) {
        slot = std::make_unique<QSoundEffect>();
        slot->setSource(QUrl::fromLocalFile(path));
    }
    return slot.get();
}

struct ToEndPlayer {
    QMediaPlayer player;
    QAudioOutput output;
    ToEndPlayer() { player.setAudioOutput(&output); }
};

ToEndPlayer& Player() {
    static ToEndPlayer* p = new ToEndPlayer; // lives for the whole run
    return *p;
}

} // namespace

#define VELMORA_SOUND_EXPORT extern "C" __attribute__((visibility("default")))

VELMORA_SOUND_EXPORT bool velmora_sound_have_output() {
    return !QMediaDevices::defaultAudioOutput().isNull();
}

VELMORA_SOUND_EXPORT void velmora_sound_play_effect(const QString& path) {
    QSoundEffect* effect = EffectFor(path);
    effect->stop();
    effect->play();
}

VELMORA_SOUND_EXPORT bool velmora_sound_play_to_end(const QString& path, int limitMs) {
    ToEndPlayer& p = Player();
    QEventLoop loop;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    bool finished = false; // ended, failed or timed out (possibly before the loop runs)
    bool ended = false;
    auto finish = [&loop, &finished] {
        finished = true;
        loop.quit();
    };
    QObject::connect(&watchdog, &QTimer::timeout, &loop, finish);
    QObject::connect(&p.player, &QMediaPlayer::mediaStatusChanged, &loop,
                     [&ended, finish](QMediaPlayer::MediaStatus status) {
                         if (status == QMediaPlayer::EndOfMedia) {
                             ended = true;
                             finish();
                         } else if (status == QMediaPlayer::InvalidMedia) {
                             finish();
                         }
                     });
    QObject::connect(&p.player, &QMediaPlayer::errorOccurred, &loop, finish);
    p.player.stop();
    p.player.setSource(QUrl::fromLocalFile(path));
    p.player.play();
    watchdog.start(limitMs);
    // Timers keep ticking; user input waits until the clip has ended.
    if (!finished) loop.exec(QEventLoop::ExcludeUserInputEvents);
    p.player.stop();
    return ended;
}
