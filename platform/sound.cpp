#include "platform/sound.h"

#include "library/files.h"
#include "library/modules.h"

#include <algorithm>
#include <cstring>

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

namespace {

// The backend lives in its own module, loaded with the first sound: the
// media libraries (and the sound server connection they bring) cost start-up
// time and memory that a run without sound never needs.
struct Backend {
    bool tried = false;
    bool (*haveOutput)() = nullptr;
    bool (*playToEnd)(const QString&, int) = nullptr;
    void (*playEffect)(const QString&) = nullptr;
};

Backend& TheBackend() {
    static Backend backend;
    return backend;
}

Backend* LoadedBackend() {
    Backend& b = TheBackend();
    if (!b.tried) {
        b.tried = true;
        const QString name = QLatin1String(kSoundModuleName);
        b.haveOutput = reinterpret_cast<bool (*)()>(ModuleEntry(name, "velmora_sound_have_output"));
        b.playToEnd = reinterpret_cast<bool (*)(const QString&, int)>(
            ModuleEntry(name, "velmora_sound_play_to_end"));
        b.playEffect = reinterpret_cast<void (*)(const QString&)>(
            ModuleEntry(name, "velmora_sound_play_effect"));
        if (!b.haveOutput || !b.playToEnd || !b.playEffect) {
            b.haveOutput = nullptr;
            b.playToEnd = nullptr;
            b.playEffect = nullptr;
        }
    }
    return b.haveOutput ? &b : nullptr;
}

} // namespace

bool SoundBackendStarted() {
    return TheBackend().tried;
}

bool HaveAudioOutput() {
    Backend* b = LoadedBackend();
    return b && b->haveOutput();
}

void PlayWithBackend(const QString& path, bool toEnd) {
    // No module or no device: every clip counts as already finished.
    if (!HaveAudioOutput()) return;
    if (!toEnd) {
        TheBackend().playEffect(path);
        return;
    }
    const auto bytes = ReadFileBounded(path, kMaxWavBytes);
    PlayToEnd(path, SoundWatchdogMs(bytes ? WavDurationMs(*bytes) : -1));
}

bool PlayToEnd(const QString& path, int limitMs) {
    Backend* b = LoadedBackend();
    return b && b->playToEnd(path, limitMs);
}
