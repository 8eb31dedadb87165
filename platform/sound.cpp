#include "platform/sound.h"

#include "library/files.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QEventLoop>
#include <QFile>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QPointer>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <cstring>
#include <map>
#include <memory>

namespace {

uint32_t Le32(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return uint32_t(u[0]) | uint32_t(u[1]) << 8 | uint32_t(u[2]) << 16 | uint32_t(u[3]) << 24;
}

constexpr qint64 kMaxWavBytes = 32 * 1024 * 1024;

} // namespace

int WavDurationMs(const QByteArray& bytes) {
    if (bytes.size() < 12 || std::memcmp(bytes.constData(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.constData() + 8, "WAVE", 4) != 0)
        return -1;
    qint64 pos = 12;
    uint32_t byteRate = 0;
    while (pos + 8 <= bytes.size()) {
        const char* chunk = bytes.constData() + pos;
        const uint32_t size = Le32(chunk + 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || pos + 8 + 16 > bytes.size()) return -1;
            byteRate = Le32(chunk + 8 + 8);
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (byteRate == 0) return -1;
            // A data chunk may claim more than the file holds; count what is there.
            const qint64 have = std::min<qint64>(size, bytes.size() - pos - 8);
            return int(have * 1000 / byteRate);
        }
        pos += 8 + qint64(size) + (size & 1);
    }
    return -1;
}

int SoundWatchdogMs(int durationMs) {
    return durationMs < 0 ? 5000 : durationMs + 2000;
}

bool HaveAudioOutput() {
    return !QMediaDevices::defaultAudioOutput().isNull();
}

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

void PlayWithBackend(const QString& path, bool toEnd) {
    if (!HaveAudioOutput()) return; // no device: every clip counts as already finished
    if (!toEnd) {
        QSoundEffect* effect = EffectFor(path);
        effect->stop();
        effect->play();
        return;
    }
    const auto bytes = ReadFileBounded(path, kMaxWavBytes);
    PlayToEnd(path, SoundWatchdogMs(bytes ? WavDurationMs(*bytes) : -1));
}

bool PlayToEnd(const QString& path, int limitMs) {
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
