// Small deterministic helpers for the picture generator: a seeded random
// source, smooth value noise, colour mixing and blurring. Nothing here reads
// the clock or the platform's random generators, so every run draws the same
// pictures bit for bit.
#pragma once

#include <QColor>
#include <QImage>
#include <cmath>
#include <cstdint>

namespace art {

// SplitMix64: tiny, fast and the same everywhere.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double uniform() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    int below(int n) { return int(next() % uint64_t(n)); }

private:
    uint64_t state_;
};

// Hash of a lattice point to [0, 1).
inline double Hash2(int x, int y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return double(h & 0xFFFFFFu) / double(0x1000000);
}

inline double Smooth(double t) {
    return t * t * t * (t * (t * 6 - 15) + 10);
}
inline double Lerp(double a, double b, double t) {
    return a + (b - a) * t;
}
inline double Clamp01(double v) {
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}
inline double SmoothStep(double e0, double e1, double x) {
    double t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

// Value noise in [0, 1), smooth, period-free.
inline double Noise2(double x, double y, uint32_t seed) {
    int ix = int(std::floor(x)), iy = int(std::floor(y));
    double fx = Smooth(x - ix), fy = Smooth(y - iy);
    double a = Hash2(ix, iy, seed), b = Hash2(ix + 1, iy, seed);
    double c = Hash2(ix, iy + 1, seed), d = Hash2(ix + 1, iy + 1, seed);
    return Lerp(Lerp(a, b, fx), Lerp(c, d, fx), fy);
}

// Fractal sum of value noise, normalised to [0, 1).
inline double Fbm(double x, double y, uint32_t seed, int octaves, double gain = 0.5) {
    double sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * Noise2(x, y, seed + uint32_t(o) * 101u);
        norm += amp;
        amp *= gain;
        x *= 2.03;
        y *= 2.03;
    }
    return sum / norm;
}

// Colours as doubles so mixing never clips in between.
struct Rgb {
    double r = 0, g = 0, b = 0;
};
inline Rgb Mix(const Rgb& a, const Rgb& b, double t) {
    return {Lerp(a.r, b.r, t), Lerp(a.g, b.g, t), Lerp(a.b, b.b, t)};
}
inline Rgb Scale(const Rgb& a, double k) {
    return {a.r * k, a.g * k, a.b * k};
}
inline Rgb Add(const Rgb& a, const Rgb& b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
inline int ToByte(double v) {
    return v <= 0 ? 0 : (v >= 255 ? 255 : int(std::lround(v)));
}
inline QRgb ToQRgb(const Rgb& c) {
    return qRgb(ToByte(c.r), ToByte(c.g), ToByte(c.b));
}
inline Rgb FromQRgb(QRgb c) {
    return {double(qRed(c)), double(qGreen(c)), double(qBlue(c))};
}

// Three box blurs approximate a Gaussian of the given radius (RGB32 or
// premultiplied ARGB32; other formats are converted to the latter).
void Blur(QImage& image, int radius);

} // namespace art
