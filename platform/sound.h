// The real sound backend behind Platform::playSound: QSoundEffect for
// background clips, QMediaPlayer for clips played to their end, a watchdog
// so that a broken device never hangs the program, and silence when there
// is no audio device at all. The media side is a module of its own
// (libvelmora_sound.so in the module folder, library/modules.h), loaded with
// the first sound; without it every clip is silent.
#pragma once

#include <QByteArray>
#include <QString>

// Length in milliseconds of a PCM WAV image (RIFF header, "fmt " and "data"
// chunks), or -1 when the bytes are not such a file.
int WavDurationMs(const QByteArray& bytes);
// How long a clip of that length may take before the watchdog gives up:
// its length plus two seconds (five seconds when the length is unknown).
int SoundWatchdogMs(int durationMs);

inline constexpr const char* kSoundModuleName = "velmora_sound";

// True once something has asked for the backend (the module is loaded then).
bool SoundBackendStarted();

// True when the system reports a default audio output device (starts the
// backend).
bool HaveAudioOutput();
// Plays `path` through the media player and returns when it has ended or
// failed, or after `limitMs` at the latest (the watchdog). Returns true when
// the clip ended by itself.
bool PlayToEnd(const QString& path, int limitMs);
// Plays `path`; with toEnd it returns only when the clip ended, failed or the
// watchdog fired. Does nothing when there is no audio device.
void PlayWithBackend(const QString& path, bool toEnd);
