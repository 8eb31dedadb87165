// The program's sounds, synthesised: the stone on the board and the trial's
// countdown (bell strokes whose pattern tells the time left, with a spoken
// Japanese announcement mixed in when the recorded voice clips are given).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace art {

// Mono samples in [-1, 1].
struct Pcm {
    int rate = 22050;
    std::vector<float> samples;
    double seconds() const { return double(samples.size()) / rate; }
};

// 16-bit mono PCM WAV bytes; samples are clipped to [-1, 1].
QByteArray WavBytes(const Pcm& pcm);
// Reads a 16-bit PCM WAV (mono, or the first channel of several).
// nullopt when the bytes are not such a file.
std::optional<Pcm> ParseWav(const QByteArray& bytes);

Pcm StoneClick();

// The countdown files in the order the trial reaches them.
QStringList CountdownNames();
// `voice`: the raw clip for this file as recorded by make_voice.sh (silence
// around it is trimmed here), or nullptr for bells only.
Pcm Countdown(const QString& fileName, const Pcm* voice);

} // namespace art
