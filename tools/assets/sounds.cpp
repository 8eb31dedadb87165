#include "sounds.h"

#include "artkit.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>

namespace art {

namespace {

constexpr double kPi = 3.14159265358979323846;

void PutLe16(QByteArray& b, int v) {
    char c[2];
    qToLittleEndian<quint16>(quint16(v), c);
    b.append(c, 2);
}
void PutLe32(QByteArray& b, quint32 v) {
    char c[4];
    qToLittleEndian<quint32>(v, c);
    b.append(c, 4);
}

void Normalise(Pcm& pcm, double peak) {
    double m = 0;
    for (float s : pcm.samples)
        m = std::max(m, double(std::abs(s)));
    if (m <= 0) return;
    const double k = peak / m;
    for (float& s : pcm.samples)
        s = float(s * k);
}

void FadeEdges(Pcm& pcm, double inSec, double outSec) {
    const size_t n = pcm.samples.size();
    const size_t fi = std::min(n, size_t(inSec * pcm.rate)),
                 fo = std::min(n, size_t(outSec * pcm.rate));
    for (size_t i = 0; i < fi; ++i)
        pcm.samples[i] *= float(double(i) / fi);
    for (size_t i = 0; i < fo; ++i)
        pcm.samples[n - 1 - i] *= float(double(i) / fo);
}

void EnsureLength(Pcm& pcm, double seconds) {
    size_t n = size_t(std::ceil(seconds * pcm.rate));
    if (pcm.samples.size() < n) pcm.samples.resize(n, 0.0f);
}

// A struck bell: a few inharmonic partials, each a slowly beating pair.
void AddBell(Pcm& pcm, double start, double f0, double amp, double ring, uint64_t seed) {
    struct Partial {
        double ratio, gain, tau;
    };
    const Partial partials[] = {{1.0, 1.0, 1.15},
                                {2.74, 0.42, 0.55},
                                {5.03, 0.2, 0.26},
                                {7.85, 0.09, 0.14},
                                {0.5, 0.12, 1.4}};
    Rng rng(seed);
    const double length = ring * 1.15 * 5.0;
    EnsureLength(pcm, start + length);
    const size_t s0 = size_t(start * pcm.rate);
    const size_t n = size_t(length * pcm.rate);
    for (const Partial& p : partials) {
        const double f = f0 * p.ratio, beat = rng.range(0.5, 1.4);
        const double ph1 = rng.range(0, 2 * kPi), ph2 = rng.range(0, 2 * kPi);
        const double tau = p.tau * ring;
        for (size_t i = 0; i < n && s0 + i < pcm.samples.size(); ++i) {
            const double t = double(i) / pcm.rate;
            const double attack = t < 0.004 ? 0.5 - 0.5 * std::cos(kPi * t / 0.004) : 1.0;
            const double v =
                std::sin(2 * kPi * f * t + ph1) + 0.6 * std::sin(2 * kPi * (f + beat) * t + ph2);
            pcm.samples[s0 + i] += float(amp * p.gain * attack * std::exp(-t / tau) * v / 1.6);
        }
    }
}

// Speech as spoken by the synthesiser: silence cut away, level evened out,
// a gentle low-pass to take the edge off the buzz.
Pcm PrepareVoice(const Pcm& raw, int rate) {
    Pcm v;
    v.rate = rate;
    // Resample linearly when the clip was recorded at another rate.
    const double step = double(raw.rate) / rate;
    const size_t n = raw.samples.empty() ? 0 : size_t(double(raw.samples.size() - 1) / step);
    v.samples.resize(n);
    for (size_t i = 0; i < n; ++i) {
        double pos = i * step;
        size_t k = size_t(pos);
        double frac = pos - double(k);
        float a = raw.samples[k], b = raw.samples[std::min(k + 1, raw.samples.size() - 1)];
        v.samples[i] = float(a + (b - a) * frac);
    }
    double peak = 0;
    for (float s : v.samples)
        peak = std::max(peak, double(std::abs(s)));
    if (peak <= 0) return Pcm{rate, {}};
    const float threshold = float(peak * 0.03);
    size_t first = 0, last = v.samples.size();
    while (first < last && std::abs(v.samples[first]) < threshold)
        ++first;
    while (last > first && std::abs(v.samples[last - 1]) < threshold)
        --last;
    const size_t margin = size_t(0.012 * rate);
    first = first > margin ? first - margin : 0;
    last = std::min(v.samples.size(), last + margin);
    v.samples = std::vector<float>(v.samples.begin() + long(first), v.samples.begin() + long(last));
    const double alpha = 1.0 - std::exp(-2 * kPi * 6500.0 / rate);
    float y = 0;
    for (float& s : v.samples) {
        y += float(alpha * (s - y));
        s = y;
    }
    Normalise(v, 0.9);
    FadeEdges(v, 0.006, 0.02);
    return v;
}

void MixIn(Pcm& dst, const Pcm& src, double start, double gain) {
    const size_t s0 = size_t(start * dst.rate);
    EnsureLength(dst, start + src.seconds());
    for (size_t i = 0; i < src.samples.size(); ++i)
        dst.samples[s0 + i] += float(src.samples[i] * gain);
}

} // namespace

QByteArray WavBytes(const Pcm& pcm) {
    QByteArray b;
    const quint32 dataBytes = quint32(pcm.samples.size() * 2);
    b.append("RIFF");
    PutLe32(b, 36 + dataBytes);
    b.append("WAVEfmt ");
    PutLe32(b, 16);
    PutLe16(b, 1); // PCM
    PutLe16(b, 1); // mono
    PutLe32(b, quint32(pcm.rate));
    PutLe32(b, quint32(pcm.rate * 2));
    PutLe16(b, 2);
    PutLe16(b, 16);
    b.append("data");
    PutLe32(b, dataBytes);
    for (float s : pcm.samples) {
        double v = std::clamp(double(s), -1.0, 1.0) * 32767.0;
        PutLe16(b, int(std::lround(v)) & 0xFFFF);
    }
    return b;
}

std::optional<Pcm> ParseWav(const QByteArray& bytes) {
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") return {};
    const uchar* p = reinterpret_cast<const uchar*>(bytes.constData());
    qsizetype pos = 12;
    int channels = 0, bits = 0, rate = 0, format = 0;
    while (pos + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(pos, 4);
        const quint32 len = qFromLittleEndian<quint32>(p + pos + 4);
        const qsizetype body = pos + 8;
        if (len > quint32(bytes.size() - body)) return {};
        if (id == "fmt ") {
            if (len < 16) return {};
            format = qFromLittleEndian<quint16>(p + body);
            channels = qFromLittleEndian<quint16>(p + body + 2);
            rate = int(qFromLittleEndian<quint32>(p + body + 4));
            bits = qFromLittleEndian<quint16>(p + body + 14);
        } else if (id == "data") {
            if (format != 1 || bits != 16 || channels < 1 || rate <= 0) return {};
            Pcm pcm;
            pcm.rate = rate;
            const qsizetype frames = qsizetype(len) / (2 * channels);
            pcm.samples.resize(size_t(frames));
            for (qsizetype i = 0; i < frames; ++i)
                pcm.samples[size_t(i)] =
                    float(qFromLittleEndian<qint16>(p + body + i * 2 * channels) / 32768.0);
            return pcm;
        }
        pos = body + qsizetype(len) + (len & 1);
    }
    return {};
}

Pcm StoneClick() {
    // Slate or shell meeting hard wood: a sharp tick, a bright ring from the
    // stone and a short knock from the board, with a tiny second contact as
    // the stone settles.
    Pcm pcm;
    pcm.rate = 44100;
    const double length = 0.2;
    pcm.samples.assign(size_t(length * pcm.rate), 0.0f);
    struct Mode {
        double f, gain, tau;
    };
    const Mode modes[] = {{1180, 0.55, 0.020}, {2430, 0.45, 0.015},  {3560, 0.34, 0.010},
                          {5150, 0.22, 0.006}, {7400, 0.10, 0.0035}, {790, 0.25, 0.030},
                          {212, 0.20, 0.045},  {430, 0.14, 0.035}};
    Rng rng(0x57014E);
    auto strike = [&](double start, double level, double detune) {
        const size_t s0 = size_t(start * pcm.rate);
        for (const Mode& m : modes) {
            const double ph = rng.range(0, 2 * kPi);
            for (size_t i = s0; i < pcm.samples.size(); ++i) {
                const double t = double(i - s0) / pcm.rate;
                pcm.samples[i] += float(level * m.gain * std::exp(-t / m.tau) *
                                        std::sin(2 * kPi * m.f * detune * t + ph));
            }
        }
        double prev = 0;
        for (size_t i = s0; i < pcm.samples.size() && i < s0 + size_t(0.006 * pcm.rate); ++i) {
            const double t = double(i - s0) / pcm.rate;
            const double noise = rng.range(-1, 1);
            pcm.samples[i] += float(level * 0.9 * std::exp(-t / 0.0006) * (noise - prev));
            prev = noise;
        }
    };
    strike(0.0, 1.0, 1.0);
    strike(0.017, 0.2, 1.025);
    Normalise(pcm, 0.9);
    FadeEdges(pcm, 0.0, 0.03);
    return pcm;
}

QStringList CountdownNames() {
    return {"min02.wav", "min01.wav", "sec30.wav", "sec20.wav", "sec10.wav",
            "sec05.wav", "sec04.wav", "sec03.wav", "sec02.wav", "sec01.wav"};
}

Pcm Countdown(const QString& fileName, const Pcm* voice) {
    Pcm pcm;
    pcm.rate = 22050;
    const Pcm spoken = voice ? PrepareVoice(*voice, pcm.rate) : Pcm{pcm.rate, {}};
    double voiceAt = 0, end = 0;
    uint64_t seed = 7;
    for (QChar ch : fileName)
        seed = seed * 131 + ch.unicode();
    if (fileName.startsWith("min")) {
        // Minutes: as many deep bell strokes as minutes remain.
        const int strokes = fileName.mid(3, 2).toInt();
        for (int i = 0; i < strokes; ++i)
            AddBell(pcm, i * 0.5, 392.0, 0.5, 1.0, seed + uint64_t(i));
        voiceAt = (strokes - 1) * 0.5 + 0.55;
        end = std::max(voiceAt + spoken.seconds() + 0.35, (strokes - 1) * 0.5 + 1.9);
    } else {
        const int secs = fileName.mid(3, 2).toInt();
        if (secs >= 10) {
            // Tens of seconds: as many clear chimes as tens remain.
            const int strokes = secs / 10;
            for (int i = 0; i < strokes; ++i)
                AddBell(pcm, i * 0.26, 784.0, 0.38, 0.55, seed + uint64_t(i));
            voiceAt = (strokes - 1) * 0.26 + 0.36;
            end = std::max(voiceAt + spoken.seconds() + 0.25, (strokes - 1) * 0.26 + 1.1);
        } else {
            // The last seconds: one short high pip each, so they never overlap.
            AddBell(pcm, 0.0, 1175.0, 0.3, 0.09, seed);
            voiceAt = 0.1;
            end = std::min(0.88, std::max(0.45, voiceAt + spoken.seconds() + 0.05));
        }
    }
    if (!spoken.samples.empty()) MixIn(pcm, spoken, voiceAt, 0.8);
    EnsureLength(pcm, end);
    pcm.samples.resize(size_t(end * pcm.rate));
    Normalise(pcm, 0.92);
    FadeEdges(pcm, 0.0, std::min(0.25, end * 0.15));
    return pcm;
}

} // namespace art
