#include "pictures.h"

#include "artkit.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <vector>

namespace art {

namespace {

constexpr double kPi = 3.14159265358979323846;

QImage NewLayer(int w, int h) {
    QImage layer(w, h, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    return layer;
}

void Composite(QImage& dst, const QImage& layer, double opacity = 1.0) {
    QPainter p(&dst);
    p.setOpacity(opacity);
    p.drawImage(0, 0, layer);
}

// Fills every pixel from a colour function of (x, y).
QImage Shade(int w, int h, const std::function<Rgb(int, int)>& f) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = ToQRgb(f(x, y));
    }
    return img;
}

// Mixes every pixel towards `wash` by `amount(x, y)`.
void Wash(QImage& img, const Rgb& wash, const std::function<double(int, int)>& amount) {
    for (int y = 0; y < img.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            line[x] = ToQRgb(Mix(FromQRgb(line[x]), wash, amount(x, y)));
    }
}

// 0 in the middle of the picture where labels and buttons usually sit,
// rising to 1 towards the corners.
double EdgeWeight(double x, double y, int w, int h) {
    double dx = (x - w * 0.5) / (w * 0.5), dy = (y - h * 0.5) / (h * 0.5);
    return Clamp01(std::sqrt(dx * dx * 0.8 + dy * dy * 1.1) - 0.35);
}

// Picks a position that favours the edges of the picture.
QPointF EdgePoint(Rng& rng, int w, int h, double bias = 0.55) {
    for (;;) {
        double x = rng.range(-0.05, 1.05) * w, y = rng.range(-0.05, 1.05) * h;
        if (EdgeWeight(x, y, w, h) > rng.uniform() * bias) return {x, y};
    }
}

QColor Qc(const Rgb& c, int alpha = 255) {
    return QColor(ToByte(c.r), ToByte(c.g), ToByte(c.b), alpha);
}

// ---------------------------------------------------------------- board

Rgb KayaAt(double x, double y, int size) {
    const Rgb light{243, 207, 136}, mid{226, 178, 98}, late{186, 130, 62};
    // Straight grain running top to bottom, gently wandering.
    double u = x + 7.0 * (Fbm(x * 0.003, y * 0.0035, 11, 3) - 0.5) +
               1.5 * (Noise2(x * 0.01, y * 0.02, 12) - 0.5);
    // Growth rings of uneven width: crowded in some bands, open in others.
    double phase = u / 4.6 + 7.0 * Fbm(u * 0.025, y * 0.0006, 13, 3);
    double ring = phase - std::floor(phase);
    double lateWood = SmoothStep(0.6, 0.9, ring) * (1.0 - SmoothStep(0.92, 1.0, ring));
    double s = Fbm(u * 0.05 + 3.0, y * 0.003, 14, 2);
    double strength = 0.15 + 0.85 * s * s * 1.6;
    double tone = Fbm(u * 0.01, y * 0.0012, 15, 4);
    Rgb c = Mix(light, mid, SmoothStep(0.25, 0.75, tone));
    c = Mix(c, late, std::min(1.0, lateWood * strength) * 0.4);
    // A few fine pores stretched along the grain.
    double pore = Noise2(u * 0.9, y * 0.07, 16);
    if (pore > 0.9) c = Mix(c, late, (pore - 0.9) * 2.5);
    double grit = (Hash2(int(std::floor(x)), int(std::floor(y)), 17) - 0.5) * 3.5;
    double light_ = 1.02 - 0.045 * double(x + y) / double(2 * size);
    return {(c.r + grit) * light_, (c.g + grit) * light_, (c.b + grit * 0.8) * light_};
}

// ---------------------------------------------------------------- stones

struct Vec3 {
    double x, y, z;
};
Vec3 Norm(Vec3 v) {
    double l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / l, v.y / l, v.z / l};
}
double Dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Colour of a stone at offset (dx, dy) from its centre, in units of the
// radius. `size` chooses how much detail is worth drawing.
Rgb StoneShade(double dx, double dy, bool white, int size) {
    const Vec3 light = Norm({-0.52, -0.64, 0.62});
    const Vec3 half = Norm({light.x, light.y, light.z + 1.0});
    double d2 = std::min(1.0, dx * dx + dy * dy), d = std::sqrt(d2);
    // A lens: flat on top, curving away towards the rim.
    double f = 0.55 + 0.45 * d2;
    Vec3 n = Norm({dx * f, dy * f, std::sqrt(1.0 - d2 * 0.96)});
    double diff = std::max(0.0, Dot(n, light));
    double nh = std::max(0.0, Dot(n, half));
    if (!white) {
        // Slate: deep grey-black, a soft sheen and one clear highlight.
        Rgb c{17, 17, 21};
        c = Add(c, Scale(Rgb{46, 46, 52}, std::pow(diff, 1.6)));
        c = Add(c, Scale(Rgb{70, 72, 80}, std::pow(nh, 14) * 0.55));
        double spot = size <= 11 ? std::pow(nh, 24) * 1.3 : std::pow(nh, 90) * 0.9;
        c = Add(c, Scale(Rgb{200, 202, 210}, spot));
        return c;
    }
    // Shell: warm white, darker towards the lower right, fine growth lines.
    double t = Clamp01(0.22 + diff * 1.05);
    Rgb c = Mix(Rgb{150, 149, 144}, Rgb{248, 247, 241}, std::pow(t, 0.8));
    if (size >= 20) {
        double bow = dy + 0.18 * dx * dx;
        double lines = std::sin(bow * kPi * (size >= 29 ? 5.5 : 3.6));
        double band = 0.5 + 0.5 * std::sin(bow * kPi * 1.3 + 0.7);
        c = Add(c, Rgb{-3.2 * lines - 2.0 * band, -3.0 * lines - 2.0 * band,
                       -2.0 * lines - 1.0 * band});
    }
    c = Mix(c, Rgb{176, 172, 164}, SmoothStep(0.8, 1.0, d) * 0.45);
    c = Add(c, Scale(Rgb{30, 30, 30}, std::pow(nh, 40)));
    return c;
}

// ---------------------------------------------------------------- shapes

// A five-petalled cherry blossom centred at the origin, radius `r`.
void DrawBlossom(QPainter& p, double r, double angle, double pinkness, int alpha) {
    p.save();
    p.rotate(angle);
    Rgb edge = Mix(Rgb{255, 240, 244}, Rgb{250, 214, 226}, pinkness);
    Rgb heart = Mix(Rgb{246, 190, 206}, Rgb{232, 132, 160}, pinkness);
    for (int i = 0; i < 5; ++i) {
        p.save();
        p.rotate(72.0 * i);
        const double L = r, W = r * 0.36;
        QPainterPath petal;
        petal.moveTo(0, 0);
        petal.cubicTo(L * 0.35, -W * 1.2, L * 0.95, -W * 1.25, L, -W * 0.28);
        petal.lineTo(L * 0.86, 0);
        petal.lineTo(L, W * 0.28);
        petal.cubicTo(L * 0.95, W * 1.25, L * 0.35, W * 1.2, 0, 0);
        QRadialGradient g(QPointF(0, 0), L);
        g.setColorAt(0.0, Qc(heart, alpha));
        g.setColorAt(0.45, Qc(Mix(heart, edge, 0.7), alpha));
        g.setColorAt(1.0, Qc(edge, alpha));
        p.setPen(QPen(Qc(Rgb{226, 170, 186}, alpha / 2), std::max(0.4, r * 0.03)));
        p.setBrush(g);
        p.drawPath(petal);
        p.restore();
    }
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 10; ++i) {
        double a = i * 36.0 * kPi / 180.0, rr = r * 0.28;
        p.setBrush(Qc(Rgb{228, 128, 154}, alpha * 2 / 3));
        p.drawEllipse(QPointF(std::cos(a) * rr, std::sin(a) * rr), r * 0.035 + 0.3,
                      r * 0.035 + 0.3);
    }
    p.setBrush(Qc(Rgb{236, 150, 170}, alpha));
    p.drawEllipse(QPointF(0, 0), r * 0.12, r * 0.12);
    p.restore();
}

void DrawPetal(QPainter& p, QPointF at, double r, double angle, int alpha) {
    p.save();
    p.translate(at);
    p.rotate(angle);
    QPainterPath petal;
    petal.moveTo(-r, 0);
    petal.cubicTo(-r * 0.6, -r * 0.75, r * 0.7, -r * 0.7, r, -r * 0.18);
    petal.lineTo(r * 0.8, 0);
    petal.lineTo(r, r * 0.18);
    petal.cubicTo(r * 0.7, r * 0.7, -r * 0.6, r * 0.75, -r, 0);
    p.setPen(Qt::NoPen);
    p.setBrush(Qc(Rgb{249, 208, 220}, alpha));
    p.drawPath(petal);
    p.restore();
}

// A branch as a chain of tapering strokes; calls `bud` at points along it.
void GrowBranch(QPainter& p, Rng& rng, QPointF from, double heading, double width, double length,
                int depth, const std::function<void(QPointF, double)>& bud) {
    QPointF at = from;
    const int steps = std::max(4, int(length / 9));
    for (int i = 0; i < steps; ++i) {
        heading += rng.range(-0.22, 0.22);
        QPointF next = at + QPointF(std::cos(heading), std::sin(heading)) * (length / steps);
        double w = std::max(0.8, width * (1.0 - double(i) / steps * 0.75));
        p.setPen(QPen(QColor(86, 62, 64, 235), w, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(at, next);
        if (depth > 0 && i > 1 && rng.uniform() < 0.2) {
            double side = rng.uniform() < 0.5 ? -1 : 1;
            GrowBranch(p, rng, next, heading + side * rng.range(0.5, 0.9), w * 0.6,
                       length * rng.range(0.25, 0.45), depth - 1, bud);
        }
        if (i > steps / 4 && rng.uniform() < 0.55) bud(next, w);
        at = next;
    }
    bud(at, 1.0);
}

// A palmate Japanese maple leaf, pointing up, radius `r`, at the origin.
QPainterPath MapleLeaf(double r, Rng& rng) {
    struct Lobe {
        double angle, length;
    };
    const std::array<Lobe, 7> lobes = {
        {{0, 1.0}, {-44, 0.93}, {44, 0.93}, {-88, 0.8}, {88, 0.8}, {-128, 0.52}, {128, 0.52}}};
    QPainterPath path;
    const int n = 420;
    for (int i = 0; i <= n; ++i) {
        double th = -180.0 + 360.0 * i / n;
        double rr = 0.24;
        for (const Lobe& l : lobes) {
            double delta = std::abs(th - l.angle) / 24.0;
            if (delta < 1.0) rr = std::max(rr, l.length * std::pow(1.0 - delta, 1.25));
        }
        if (rr > 0.3) rr *= 1.0 + 0.045 * std::abs(std::sin(th * kPi / 180.0 * 22.0));
        rr *= 1.0 + 0.02 * (rng.uniform() - 0.5);
        double a = (th - 90.0) * kPi / 180.0;
        QPointF pt(std::cos(a) * rr * r, std::sin(a) * rr * r);
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

void DrawMaple(QPainter& p, Rng& rng, QPointF at, double r, double angle, int alpha) {
    p.save();
    p.translate(at);
    p.rotate(angle);
    QPainterPath leaf = MapleLeaf(r, rng);
    const std::array<Rgb, 4> reds = {
        {Rgb{198, 44, 38}, Rgb{214, 72, 36}, Rgb{226, 112, 40}, Rgb{182, 36, 52}}};
    Rgb base = reds[size_t(rng.below(int(reds.size())))];
    Rgb tip = rng.uniform() < 0.35 ? Rgb{234, 168, 62} : Mix(base, Rgb{236, 110, 70}, 0.4);
    QRadialGradient g(QPointF(0, r * 0.1), r);
    g.setColorAt(0.0, Qc(Mix(base, Rgb{120, 24, 24}, 0.2), alpha));
    g.setColorAt(0.6, Qc(base, alpha));
    g.setColorAt(1.0, Qc(tip, alpha));
    p.setPen(QPen(Qc(Mix(base, Rgb{90, 20, 20}, 0.4), alpha / 2), std::max(0.5, r * 0.012)));
    p.setBrush(g);
    p.drawPath(leaf);
    p.setPen(QPen(Qc(Rgb{244, 150, 110}, alpha * 2 / 5), std::max(0.6, r * 0.022), Qt::SolidLine,
                  Qt::RoundCap));
    for (double a : {0.0, -44.0, 44.0, -88.0, 88.0, -128.0, 128.0}) {
        double len = (std::abs(a) > 100 ? 0.45 : (std::abs(a) > 60 ? 0.7 : 0.85)) * r;
        double rad = (a - 90.0) * kPi / 180.0;
        p.drawLine(QPointF(0, 0), QPointF(std::cos(rad) * len, std::sin(rad) * len));
    }
    p.setPen(
        QPen(Qc(Rgb{140, 48, 36}, alpha), std::max(0.8, r * 0.035), Qt::SolidLine, Qt::RoundCap));
    QPainterPath stem;
    stem.moveTo(0, 0);
    stem.quadTo(r * 0.05, r * 0.4, r * 0.15, r * 0.65);
    p.setBrush(Qt::NoBrush);
    p.drawPath(stem);
    p.restore();
}

// ---------------------------------------------------------------- backgrounds

QImage Sakura(int w, int h) {
    Rng rng(0x5A6B0001);
    QImage img = Shade(w, h, [&](int x, int y) {
        double t = double(y) / h;
        Rgb c = Mix(Rgb{222, 233, 245}, Rgb{250, 236, 240}, SmoothStep(0.0, 1.0, t));
        double cloud = Fbm(x * 0.004, y * 0.007, 21, 5);
        return Mix(c, Rgb{252, 250, 250}, SmoothStep(0.45, 0.75, cloud) * 0.5);
    });
    // Distant blossom haze.
    QImage haze = NewLayer(w, h);
    {
        QPainter p(&haze);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 260; ++i) {
            QPointF c = EdgePoint(rng, w, h, 0.9);
            double r = rng.range(10, 34);
            Rgb col = Mix(Rgb{252, 226, 234}, Rgb{240, 176, 198}, rng.uniform());
            p.setBrush(Qc(col, int(rng.range(50, 120))));
            p.drawEllipse(c, r, r);
        }
    }
    Blur(haze, 18);
    Composite(img, haze, 0.85);
    // Branches with blossoms, reaching in from the top corners.
    QImage near = NewLayer(w, h);
    {
        QPainter p(&near);
        p.setRenderHint(QPainter::Antialiasing);
        std::vector<std::pair<QPointF, double>> buds;
        auto bud = [&](QPointF at, double) { buds.push_back({at, 0}); };
        GrowBranch(p, rng, QPointF(-20, 70), -0.05, 11, w * 0.55, 2, bud);
        GrowBranch(p, rng, QPointF(w + 20, 30), kPi - 0.35, 9, w * 0.38, 2, bud);
        GrowBranch(p, rng, QPointF(w + 10, h * 0.78), kPi + 0.25, 6, w * 0.22, 1, bud);
        for (auto& b : buds) {
            int n = 1 + rng.below(4);
            for (int k = 0; k < n; ++k) {
                QPointF at = b.first + QPointF(rng.range(-14, 14), rng.range(-12, 12));
                p.save();
                p.translate(at);
                DrawBlossom(p, rng.range(7, 12.5), rng.range(0, 72), rng.uniform(), 245);
                p.restore();
            }
        }
        for (int i = 0; i < 46; ++i)
            DrawPetal(p, EdgePoint(rng, w, h, 0.6), rng.range(2.5, 4.5), rng.range(0, 360),
                      int(rng.range(150, 230)));
    }
    Composite(img, near);
    Wash(img, Rgb{252, 246, 248},
         [&](int x, int y) { return 0.3 * (1.0 - EdgeWeight(x, y, w, h)); });
    return img;
}

QImage Keiryu(int W, int H, int w, int h) {
    struct Range {
        double base, amp, freq;
        Rgb colour;
        double mist;
    };
    const std::array<Range, 4> ranges = {{{h * 0.36, h * 0.16, 0.0035, Rgb{170, 186, 200}, 130},
                                          {h * 0.45, h * 0.14, 0.005, Rgb{142, 166, 172}, 110},
                                          {h * 0.53, h * 0.11, 0.007, Rgb{116, 146, 134}, 90},
                                          {h * 0.62, h * 0.08, 0.010, Rgb{96, 128, 100}, 70}}};
    const Rgb mist{234, 240, 238};
    // The stream winds out of the hills towards the viewer, widening.
    const double source = h * 0.6;
    auto streamCentre = [&](double y) {
        double near = std::max(0.0, (y - source) / (h - source));
        return w * 0.47 + 150.0 * std::min(near, 1.4) * std::sin(near * 4.2 - 0.4) +
               10 * (Fbm(y * 0.02, 2.0, 141, 2) - 0.5);
    };
    auto streamHalf = [&](double y) {
        // Widening with nearness inside the window, steadily beyond it.
        const double dm = h - source;
        double d = std::max(0.0, y - source);
        if (d <= dm) return 3.0 + d * 0.25 + d * d * 0.0022;
        return 3.0 + dm * 0.25 + dm * dm * 0.0022 + (d - dm) * 0.45;
    };
    QImage img = Shade(W, H, [&](int x, int y) {
        Rgb c = Mix(Rgb{212, 226, 236}, Rgb{242, 243, 238}, SmoothStep(0.0, h * 0.5, y));
        for (size_t i = 0; i < ranges.size(); ++i) {
            const Range& r = ranges[i];
            double ridge = r.base - r.amp * Fbm(x * r.freq, i * 7.31, 31 + uint32_t(i), 5);
            if (y >= ridge) {
                double ink = 0.93 + 0.1 * Fbm(x * 0.03, y * 0.05, 41 + uint32_t(i), 3);
                Rgb lc = Scale(r.colour, ink);
                c = Mix(lc, mist, SmoothStep(0, r.mist, y - ridge) * 0.8);
            }
        }
        if (y > source - 30) {
            // Banks: grass and earth, richer towards the viewer.
            double near = Clamp01((y - source) / (h - source));
            double grass = Fbm(x * 0.03, y * 0.06, 61, 4);
            Rgb bank = Mix(Rgb{164, 180, 152}, Rgb{112, 136, 100}, grass);
            bank = Mix(bank, Rgb{150, 138, 110},
                       SmoothStep(0.62, 0.75, Fbm(x * 0.02, y * 0.04, 62, 3)) * 0.5);
            c = Mix(c, bank, SmoothStep(source - 30, source + 40, y) * (0.35 + 0.45 * near));
        }
        if (y > source) {
            double dx = std::abs(x - streamCentre(y)), half = streamHalf(y);
            if (dx < half * 1.12) {
                double depth = 1.0 - dx / half;
                Rgb water = Mix(Rgb{212, 230, 236}, Rgb{150, 186, 204}, Clamp01(depth) * 0.85);
                double ripple = Fbm(x * 0.02, y * 0.2, 51, 4);
                water = Mix(water, Rgb{250, 253, 253}, SmoothStep(0.57, 0.72, ripple) * 0.8);
                // Wet stones and shadow along the edge.
                Rgb edgeColour = Rgb{118, 124, 112};
                double shore = SmoothStep(0.0, 0.1, depth);
                Rgb inner = Mix(edgeColour, water, shore);
                c = Mix(c, inner, SmoothStep(-0.12, 0.0, depth));
            }
        }
        return c;
    });
    // Rocks along the banks.
    QImage rocks = NewLayer(W, H);
    {
        QPainter p(&rocks);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        Rng rng(0x4B310002);
        for (int i = 0; i < 14; ++i) {
            double y = rng.range(source + 25, h * 1.02);
            double side = rng.uniform() < 0.5 ? -1 : 1;
            double x = streamCentre(y) + side * streamHalf(y) * rng.range(0.55, 1.05);
            double rx = rng.range(10, 24) * (0.3 + 1.4 * (y - source) / (h - source));
            double ry = rx * rng.range(0.5, 0.7);
            QPainterPath rock;
            for (int k = 0; k <= 24; ++k) {
                double a = k * 2 * kPi / 24;
                double rr = 0.8 + 0.35 * Fbm(std::cos(a) + i * 3.1, std::sin(a), 151, 3);
                QPointF pt(x + std::cos(a) * rx * rr,
                           y + std::sin(a) * ry * rr * (a > kPi ? 1.25 : 0.8));
                if (k == 0)
                    rock.moveTo(pt);
                else
                    rock.lineTo(pt);
            }
            p.setBrush(QColor(255, 255, 255, 110));
            p.drawEllipse(QPointF(x, y + ry * 0.7), rx * 1.25, ry * 0.45);
            QRadialGradient g(QPointF(x - rx * 0.35, y - ry * 0.6), rx * 1.4);
            g.setColorAt(0, QColor(196, 194, 186, 240));
            g.setColorAt(0.6, QColor(136, 138, 132, 240));
            g.setColorAt(1, QColor(84, 90, 86, 240));
            p.setBrush(g);
            p.drawPath(rock);
        }
    }
    Blur(rocks, 2);
    Composite(img, rocks);
    // Cedars along the nearer ridges, in soft ink.
    QImage trees = NewLayer(W, H);
    {
        QPainter p(&trees);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        Rng rng(0x4B310003);
        for (size_t i = 1; i < ranges.size(); ++i) {
            const Range& r = ranges[i];
            const double scale = 0.6 + 0.35 * double(i);
            for (double x = -10; x < w + 10; x += rng.range(4, 12) * scale) {
                if (Fbm(x * 0.006, double(i), 161 + uint32_t(i), 2) < 0.5) continue;
                double ridge = r.base - r.amp * Fbm(x * r.freq, i * 7.31, 31 + uint32_t(i), 5);
                double th = rng.range(12, 26) * scale, tw = th * rng.range(0.28, 0.38);
                double base = ridge + rng.range(2, 10) * scale;
                QPolygonF cedar;
                cedar << QPointF(x, base - th) << QPointF(x + tw / 2, base)
                      << QPointF(x - tw / 2, base);
                p.setBrush(Qc(Scale(r.colour, 0.78), int(120 + 30 * i)));
                p.drawPolygon(cedar);
            }
        }
    }
    Blur(trees, 2);
    Composite(img, trees);
    Blur(img, 2);
    Wash(img, Rgb{238, 242, 238},
         [&](int x, int y) { return 0.22 * (1.0 - EdgeWeight(x, y, w, h)); });
    return img;
}

QImage Marble(int w, int h) {
    return Shade(w, h, [&](int x, int y) {
        // A few long veins folded by turbulence, fainter ones beside them.
        double t = x * 0.0019 + y * 0.0013 + 1.7 * Fbm(x * 0.0032, y * 0.0032, 71, 6);
        double v = std::abs(std::sin(t * kPi * 1.15));
        double vein = std::pow(1.0 - v, 38) + 0.22 * std::pow(1.0 - v, 7);
        double t2 = -x * 0.0014 + y * 0.0026 + 1.5 * Fbm(x * 0.004, y * 0.004, 72, 5);
        double vein2 = std::pow(1.0 - std::abs(std::sin(t2 * kPi * 1.7)), 60);
        double cloud = Fbm(x * 0.0045, y * 0.0045, 73, 5);
        Rgb c = Mix(Rgb{245, 244, 240}, Rgb{229, 228, 225}, SmoothStep(0.35, 0.8, cloud));
        c = Mix(c, Rgb{150, 150, 154}, std::min(1.0, vein) * 0.5);
        c = Mix(c, Rgb{196, 178, 150}, vein2 * 0.4);
        double grit = (Hash2(x, y, 74) - 0.5) * 2.5;
        return Rgb{c.r + grit, c.g + grit, c.b + grit};
    });
}

QImage Kaede(int W, int H, int w, int h) {
    Rng rng(0x4B414544);
    QImage img = Shade(W, H, [&](int x, int y) {
        Rgb c = Mix(Rgb{251, 242, 226}, Rgb{245, 226, 204}, double(y) / h);
        return Mix(c, Rgb{254, 250, 240},
                   SmoothStep(0.5, 0.8, Fbm(x * 0.005, y * 0.006, 81, 4)) * 0.5);
    });
    QImage far = NewLayer(W, H);
    {
        QPainter p(&far);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 90; ++i) {
            Rgb col = Mix(Rgb{240, 170, 90}, Rgb{220, 90, 70}, rng.uniform());
            p.setBrush(Qc(col, int(rng.range(28, 70))));
            double r = rng.range(14, 40);
            p.drawEllipse(EdgePoint(rng, w, h, 0.9), r, r);
        }
        for (int i = 0; i < 16; ++i)
            DrawMaple(p, rng, EdgePoint(rng, w, h, 0.8), rng.range(22, 38), rng.range(-60, 60),
                      150);
    }
    Blur(far, 8);
    Composite(img, far, 0.8);
    QImage near = NewLayer(W, H);
    {
        QPainter p(&near);
        p.setRenderHint(QPainter::Antialiasing);
        // A twig across the top right with leaves hanging from it.
        std::vector<QPointF> tips;
        GrowBranch(p, rng, QPointF(w + 10, 24), kPi - 0.2, 5, w * 0.42, 1,
                   [&](QPointF at, double) { tips.push_back(at); });
        for (size_t i = 0; i < tips.size(); i += 2)
            DrawMaple(p, rng, tips[i] + QPointF(0, 18), rng.range(20, 30), rng.range(-35, 35), 245);
        for (int i = 0; i < 13; ++i)
            DrawMaple(p, rng, EdgePoint(rng, w, h, 0.45), rng.range(22, 36), rng.range(0, 360),
                      235);
        // A few large leaves close to the viewer, in the corners.
        const QPointF corners[] = {{w * 0.06, h * 0.9}, {w * 0.95, h * 0.55}, {w * 0.04, h * 0.12}};
        for (const QPointF& c : corners)
            DrawMaple(p, rng, c, rng.range(44, 58), rng.range(0, 360), 240);
    }
    Blur(near, 1);
    Composite(img, near);
    Wash(img, Rgb{252, 246, 236},
         [&](int x, int y) { return 0.3 * (1.0 - EdgeWeight(x, y, w, h)); });
    return img;
}

QImage Sekitei(int W, int H, int w, int h) {
    struct Rock {
        double x, y, rx, ry;
        uint32_t seed;
    };
    const std::array<Rock, 5> rocks = {{{w * 0.16, h * 0.30, 64, 38, 91},
                                        {w * 0.25, h * 0.36, 30, 19, 92},
                                        {w * 0.78, h * 0.74, 84, 48, 93},
                                        {w * 0.88, h * 0.66, 36, 24, 94},
                                        {w * 0.69, h * 0.83, 24, 15, 95}}};
    const double wallBottom = h * 0.1;
    const double pitch = 9.0;
    auto rockShape = [&](const Rock& r, double x, double y) {
        double dx = (x - r.x) / r.rx, dy = (y - r.y) / r.ry;
        double a = std::atan2(dy, dx);
        double wobble = 0.34 * (Fbm(std::cos(a) * 1.3 + 5, std::sin(a) * 1.3 + 5, r.seed, 4) - 0.5);
        return std::sqrt(dx * dx + dy * dy) - wobble;
    };
    return Shade(W, H, [&](int x, int y) {
        if (y < wallBottom) {
            // A low earthen wall with a tiled cap.
            double capEnd = wallBottom * 0.34;
            if (y < capEnd) {
                double tile = 0.5 + 0.5 * std::cos((x % 14) / 14.0 * 2 * kPi);
                return Mix(Rgb{84, 88, 96}, Rgb{118, 122, 130}, tile * (1.0 - y / capEnd * 0.4));
            }
            double stain = Fbm(x * 0.02, y * 0.05, 96, 4);
            Rgb plaster = Mix(Rgb{222, 198, 156}, Rgb{196, 166, 122}, stain * 0.8);
            return Mix(plaster, Rgb{150, 128, 96}, SmoothStep(wallBottom - 6, wallBottom, y) * 0.6);
        }
        // Gravel grain.
        double grain = Noise2(x * 0.75, y * 0.75, 97) - 0.5;
        double blotch = Fbm(x * 0.01, y * 0.01, 98, 4) - 0.5;
        Rgb gravel{216 + grain * 22 + blotch * 10, 212 + grain * 22 + blotch * 10,
                   202 + grain * 20 + blotch * 9};
        // Raked pattern: rings around the rocks, straight lines elsewhere.
        double ringDist = 1e9;
        for (const Rock& r : rocks)
            ringDist = std::min(ringDist, (rockShape(r, x, y) - 1.0) * (r.rx + r.ry) * 0.5);
        double phase;
        if (ringDist < pitch * 4.5)
            phase = ringDist / pitch;
        else
            phase = (y - wallBottom) / pitch + 0.25 * std::sin(x * 0.004);
        double relief = std::sin(phase * 2 * kPi) * 0.06 + std::cos(phase * 2 * kPi) * 0.03;
        Rgb c = Scale(gravel, 1.0 + relief);
        // Rocks and their moss.
        for (const Rock& r : rocks) {
            double e = rockShape(r, x, y);
            double shadow = rockShape(r, x - r.rx * 0.12, y - r.ry * 0.18);
            if (shadow < 1.15 && e >= 1.0)
                c = Scale(c, 0.86 + 0.14 * SmoothStep(0.9, 1.15, shadow));
            if (e < 1.12 && y > r.y) {
                double moss = Fbm(x * 0.08, y * 0.08, r.seed + 10, 3);
                if (moss > 0.45) c = Mix(c, Rgb{104, 124, 72}, SmoothStep(0.45, 0.6, moss) * 0.8);
            }
            if (e < 1.0) {
                // A weathered stone: lit from the upper left, dark at its
                // foot, rough with cracks and lichen.
                double dx = (x - r.x) / r.rx, dy = (y - r.y) / r.ry;
                double dome = std::sqrt(std::max(0.0, 1.0 - e * e));
                double lit = Clamp01(0.45 - 0.5 * dx - 0.75 * dy + 0.25 * dome);
                double tex = Fbm(x * 0.07, y * 0.05, r.seed + 20, 5);
                double crack = std::abs(Fbm(x * 0.02, y * 0.035, r.seed + 30, 3) - 0.5);
                Rgb stone = Mix(Rgb{58, 56, 54}, Rgb{184, 178, 166}, lit);
                stone = Scale(stone, 0.82 + 0.36 * tex);
                stone = Mix(stone, Rgb{52, 50, 48}, SmoothStep(0.012, 0.0, crack) * 0.35);
                double lichen = Fbm(x * 0.11, y * 0.11, r.seed + 40, 3);
                stone = Mix(stone, Rgb{150, 160, 128}, SmoothStep(0.62, 0.72, lichen) * 0.45);
                stone = Scale(stone, 1.0 - 0.35 * SmoothStep(0.7, 1.0, e) * Clamp01(0.5 + dy));
                c = Mix(c, stone, SmoothStep(1.0, 0.96, e));
            }
        }
        return c;
    });
}

QImage Yuuyake(int W, int H, int w, int h) {
    const double horizon = h * 0.63;
    const QPointF sun(w * 0.5, horizon - 34);
    auto sky = [&](double x, double y) {
        double t = Clamp01(y / horizon);
        Rgb c;
        if (t < 0.45)
            c = Mix(Rgb{104, 106, 160}, Rgb{204, 138, 160}, SmoothStep(0, 0.45, t));
        else if (t < 0.8)
            c = Mix(Rgb{204, 138, 160}, Rgb{246, 172, 124}, SmoothStep(0.45, 0.8, t));
        else
            c = Mix(Rgb{246, 172, 124}, Rgb{252, 214, 156}, SmoothStep(0.8, 1.0, t));
        double dx = x - sun.x(), dy = y - sun.y();
        double d2 = dx * dx + dy * dy * 2.0;
        c = Mix(c, Rgb{255, 228, 178}, std::exp(-d2 / (2 * 110.0 * 110.0)) * 0.55);
        double cloud = Fbm(x * 0.0035, y * 0.018, 111, 5);
        double band = SmoothStep(h * 0.05, h * 0.18, y) * (1.0 - SmoothStep(h * 0.42, h * 0.55, y));
        double amount = SmoothStep(0.46, 0.7, cloud) * band * 0.65;
        Rgb cloudColour = Mix(Rgb{176, 116, 146}, Rgb{252, 180, 132}, Clamp01(y / (h * 0.5)));
        c = Mix(c, cloudColour, amount);
        double sd = std::sqrt(dx * dx + dy * dy);
        c = Mix(c, Rgb{255, 242, 214}, SmoothStep(36, 31, sd));
        return c;
    };
    auto above = [&](double x, double y) {
        double farRidge = horizon - 18 - 52 * Fbm(x * 0.004, 3.3, 121, 5);
        double nearRidge =
            horizon - 4 - 30 * Fbm(x * 0.007 + 9, 1.7, 122, 4) * SmoothStep(w * 0.35, 0.0, x) * 1.6;
        if (y >= nearRidge) return Rgb{112, 84, 114};
        if (y >= farRidge)
            return Mix(Rgb{150, 108, 136}, Rgb{186, 128, 146}, Clamp01((y - farRidge) / 60.0));
        return sky(x, y);
    };
    return Shade(W, H, [&](int x, int y) {
        if (y < horizon) return above(x, y);
        // Still water: the scene mirrored, broken by slow ripples.
        double depth = (y - horizon) / (h - horizon);
        double wobble = 6.0 * (Fbm(x * 0.01, y * 0.12, 131, 3) - 0.5) * (0.3 + depth);
        double my = std::max(0.0, 2 * horizon - y + wobble * 0.5);
        Rgb c = Scale(above(x + wobble, std::min(horizon - 0.5, my)), 0.84);
        double glitter = Fbm(x * 0.05, y * 0.5, 132, 3);
        double column = SmoothStep(24 + depth * 90, 0, std::abs(x - sun.x())) *
                        SmoothStep(horizon + 8, horizon + 30, y);
        c = Mix(c, Rgb{255, 236, 196}, SmoothStep(0.55, 0.7, glitter) * column * 0.8);
        double streak = Fbm(x * 0.004, y * 0.3, 133, 3);
        c = Mix(c, Rgb{250, 214, 180}, SmoothStep(0.62, 0.75, streak) * 0.25);
        return c;
    });
}

} // namespace

// ---------------------------------------------------------------- public

QImage MakeBoard(int size, int scale) {
    if (scale <= 1) return Shade(size, size, [size](int x, int y) { return KayaAt(x, y, size); });
    // The same wood sampled at the centres of the finer pixels.
    return Shade(size * scale, size * scale, [size, scale](int x, int y) {
        return KayaAt((x + 0.5) / scale - 0.5, (y + 0.5) / scale - 0.5, size);
    });
}

StoneTile MakeStone(int size, bool white) {
    StoneTile t{QImage(size, size, QImage::Format_RGB32), QImage(size, size, QImage::Format_RGB32)};
    const double c = size / 2.0;
    const double r = size >= 20 ? size / 2.0 - 0.3 : size / 2.0 - 0.05;
    const int ss = 8;
    std::vector<double> cover(size_t(size * size));
    std::vector<Rgb> colour(size_t(size * size));
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            Rgb sum;
            int n = 0;
            for (int sy = 0; sy < ss; ++sy) {
                for (int sx = 0; sx < ss; ++sx) {
                    double dx = (x + (sx + 0.5) / ss - c) / r, dy = (y + (sy + 0.5) / ss - c) / r;
                    if (dx * dx + dy * dy > 1.0) continue;
                    sum = Add(sum, StoneShade(dx, dy, white, size));
                    ++n;
                }
            }
            size_t i = size_t(y * size + x);
            cover[i] = double(n) / (ss * ss);
            colour[i] = n ? Scale(sum, 1.0 / n) : Rgb{};
        }
    }
    // Pixels only partly under the stone are blended towards the wood, so
    // the rim looks smooth on the board although the mask is hard.
    const Rgb wood{224, 182, 112};
    auto covered = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < size && y < size && cover[size_t(y * size + x)] >= 0.5;
    };
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            size_t i = size_t(y * size + x);
            if (!covered(x, y)) {
                t.image.setPixel(x, y, qRgb(0, 0, 0));
                t.mask.setPixel(x, y, qRgb(255, 255, 255));
                continue;
            }
            Rgb col = colour[i];
            bool rim = !covered(x - 1, y) || !covered(x + 1, y) || !covered(x, y - 1) ||
                       !covered(x, y + 1);
            if (white && size <= 11 && rim) {
                // Small white stones need a drawn edge to stand out from the wood.
                col = Mix(col, Rgb{112, 108, 100}, x + y >= size ? 0.62 : 0.42);
            } else if (cover[i] < 1.0) {
                col = Mix(col, wood, (1.0 - cover[i]) * 0.8);
            }
            // Never pure black: black in the image means "no stone here".
            t.image.setPixel(x, y,
                             qRgb(std::max(4, ToByte(col.r)), std::max(4, ToByte(col.g)),
                                  std::max(4, ToByte(col.b))));
            t.mask.setPixel(x, y, qRgb(0, 0, 0));
        }
    }
    return t;
}

StoneTile MakeStone(int size, bool white, int scale) {
    if (scale <= 1) return MakeStone(size, white);
    const int n = size * scale;
    StoneTile t{QImage(n, n, QImage::Format_RGB32), QImage(n, n, QImage::Format_RGB32)};
    const double c = size / 2.0;
    const double r = size >= 20 ? size / 2.0 - 0.3 : size / 2.0 - 0.05;
    const int ss = 8;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            Rgb sum;
            int hits = 0;
            for (int sy = 0; sy < ss; ++sy) {
                for (int sx = 0; sx < ss; ++sx) {
                    // Sample positions in the tile's own (logical) pixels.
                    const double lx = (x + (sx + 0.5) / ss) / scale;
                    const double ly = (y + (sy + 0.5) / ss) / scale;
                    const double dx = (lx - c) / r, dy = (ly - c) / r;
                    if (dx * dx + dy * dy > 1.0) continue;
                    Rgb shade = StoneShade(dx, dy, white, size);
                    // Small white stones carry a drawn edge to stand out from the wood.
                    if (white && size <= 11 && std::sqrt(dx * dx + dy * dy) * r > r - 1.0)
                        shade = Mix(shade, Rgb{112, 108, 100}, lx + ly >= size ? 0.62 : 0.42);
                    sum = Add(sum, shade);
                    ++hits;
                }
            }
            // The image is the stone over black by its coverage, the mask
            // white by what it leaves uncovered: together a premultiplied
            // picture with soft edges.
            const double cover = double(hits) / (ss * ss);
            const Rgb col = hits ? Scale(sum, cover / hits) : Rgb{};
            t.image.setPixel(x, y, qRgb(ToByte(col.r), ToByte(col.g), ToByte(col.b)));
            const int m = ToByte(255.0 * (1.0 - cover));
            t.mask.setPixel(x, y, qRgb(m, m, m));
        }
    }
    return t;
}

QStringList BackgroundNames() {
    return {"sakura.bmp", "keiryu.bmp", "marble.bmp", "kaede.bmp", "sekitei.bmp", "yuuyake.bmp"};
}

QImage MakeBackground(const QString& fileName, int width, int height) {
    // Each scene is composed for the window that shows it (its top-left
    // part), and runs on naturally beyond for larger windows.
    if (fileName == "sakura.bmp") return Sakura(width, height);
    if (fileName == "keiryu.bmp") return Keiryu(width, height, 640, 440);
    if (fileName == "marble.bmp") return Marble(width, height);
    if (fileName == "kaede.bmp") return Kaede(width, height, 600, 400);
    if (fileName == "sekitei.bmp") return Sekitei(width, height, 640, 440);
    if (fileName == "yuuyake.bmp") return Yuuyake(width, height, 690, 400);
    return {};
}

QImage MakeButton(const QString& symbol, int state, int scale) {
    const int w = kButtonWidth, h = kButtonHeight;
    scale = std::max(1, scale);
    QImage img(w * scale, h * scale, QImage::Format_RGB32);
    img.fill(QColor(214, 210, 202));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    QLinearGradient face(0, 0, 0, h);
    QColor border(124, 120, 112);
    if (state == 1) {
        face.setColorAt(0, QColor(255, 248, 206));
        face.setColorAt(1, QColor(244, 206, 104));
        border = QColor(168, 126, 44);
    } else if (state == 2) {
        face.setColorAt(0, QColor(240, 239, 236));
        face.setColorAt(1, QColor(222, 220, 216));
        border = QColor(168, 166, 160);
    } else {
        face.setColorAt(0, QColor(253, 252, 249));
        face.setColorAt(0.5, QColor(236, 233, 226));
        face.setColorAt(1, QColor(208, 204, 194));
    }
    p.setPen(QPen(border, 1.0));
    p.setBrush(face);
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 4.5, 4.5);
    p.setPen(QPen(QColor(255, 255, 255, state == 2 ? 120 : 200), 1.0));
    p.drawLine(QPointF(4.5, 1.5), QPointF(w - 4.5, 1.5));

    // The symbol, drawn around the button's centre.
    auto symbol_ = [&](QPainter& q, const QColor& ink) {
        q.setPen(Qt::NoPen);
        q.setBrush(ink);
        auto tri = [&](double tipX, double baseX) {
            QPolygonF poly;
            poly << QPointF(baseX, -6.5) << QPointF(tipX, 0) << QPointF(baseX, 6.5);
            q.drawPolygon(poly);
        };
        auto bar = [&](double x) { q.drawRect(QRectF(x, -6.5, 2.6, 13)); };
        if (symbol == "playi") {
            QPolygonF poly;
            poly << QPointF(-4.5, -7.5) << QPointF(7.5, 0) << QPointF(-4.5, 7.5);
            q.drawPolygon(poly);
        } else if (symbol == "stopi") {
            q.drawRoundedRect(QRectF(-6, -6, 12, 12), 1.5, 1.5);
        } else if (symbol == "1prev") {
            bar(-7);
            tri(-3.6, 6.4);
        } else if (symbol == "1forw") {
            tri(3.6, -6.4);
            bar(4.4);
        } else if (symbol == "toroo") {
            bar(-10.5);
            tri(-7.4, 1.4);
            tri(1.0, 9.8);
        } else if (symbol == "tobot") {
            tri(-1.0, -9.8);
            tri(7.4, -1.4);
            bar(7.9);
        } else if (symbol == "quest") {
            QPainterPath qm;
            qm.moveTo(-4.2, -3.2);
            qm.cubicTo(-4.2, -8.4, 4.4, -8.6, 4.4, -3.6);
            qm.cubicTo(4.4, -0.6, 0.2, -0.4, 0.2, 2.6);
            q.setBrush(Qt::NoBrush);
            q.setPen(QPen(ink, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            q.drawPath(qm);
            q.setPen(Qt::NoPen);
            q.setBrush(ink);
            q.drawEllipse(QPointF(0.2, 7.0), 1.7, 1.7);
        }
    };
    p.translate(w / 2.0, h / 2.0);
    if (state == 2) {
        p.save();
        p.translate(1, 1);
        symbol_(p, QColor(255, 255, 255));
        p.restore();
        symbol_(p, QColor(158, 156, 150));
    } else {
        symbol_(p, state == 1 ? QColor(160, 62, 18) : QColor(34, 52, 96));
    }
    return img;
}

QImage MakeIcon(int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    const double px = 64.0 / size; // one device pixel in icon units
    QLinearGradient wood(0, 0, 64, 64);
    wood.setColorAt(0, QColor(242, 206, 140));
    wood.setColorAt(1, QColor(212, 162, 88));
    p.setPen(QPen(QColor(140, 96, 46), std::max(1.2, px)));
    p.setBrush(wood);
    p.drawRoundedRect(QRectF(3, 3, 58, 58), 9, 9);
    if (size >= 32) {
        p.setPen(QPen(QColor(198, 150, 84, 110), std::max(0.6, px * 0.8)));
        for (double x = 7; x < 58; x += 3.1)
            p.drawLine(QPointF(x, 5), QPointF(x + 0.8, 59));
    }
    p.setPen(QPen(QColor(64, 44, 26), std::max(1.4, px)));
    for (double v : {8.0, 24.0, 40.0, 56.0}) {
        p.drawLine(QPointF(v, 8), QPointF(v, 56));
        p.drawLine(QPointF(8, v), QPointF(56, v));
    }
    auto stone = [&](QPointF at, bool white) {
        QRadialGradient g(at + QPointF(-3.5, -4), 13);
        if (white) {
            g.setColorAt(0, QColor(255, 255, 252));
            g.setColorAt(0.7, QColor(232, 230, 222));
            g.setColorAt(1, QColor(176, 172, 164));
        } else {
            g.setColorAt(0, QColor(110, 112, 120));
            g.setColorAt(0.35, QColor(44, 44, 50));
            g.setColorAt(1, QColor(12, 12, 16));
        }
        p.setPen(QPen(white ? QColor(120, 116, 108) : QColor(8, 8, 10), std::max(0.8, px)));
        p.setBrush(g);
        p.drawEllipse(at, 11.2, 11.2);
    };
    stone(QPointF(24, 40), false);
    stone(QPointF(40, 24), true);
    return img;
}

void DrawTile(QImage& surface, const StoneTile& tile, int left, int top) {
    QPainter p(&surface);
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(left, top, tile.mask);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.drawImage(left, top, tile.image);
}

QImage MakeStoneSheet() {
    const QImage board = MakeBoard();
    std::array<std::array<StoneTile, 2>, 4> tiles;
    const std::array<int, 4> sizes = {29, 20, 11, 9};
    for (size_t i = 0; i < 4; ++i)
        for (int c = 0; c < 2; ++c)
            tiles[i][size_t(c)] = MakeStone(sizes[i], c == 1);

    // One board surface drawn the way the program draws it: picture, grid,
    // star points, then stones by mask and image.
    auto drawPanel = [&](int inner, int n, bool thumb, size_t sizeIndex,
                         const std::vector<std::array<int, 3>>& stones) {
        QImage surface = board.copy(0, 0, inner, inner).convertToFormat(QImage::Format_RGB32);
        const int s = thumb ? inner / n : int(std::nearbyint(double(inner) / n));
        auto pt = [s](int i) { return int(std::nearbyint((i + 0.5) * s)); };
        QPainter p(&surface);
        const int t = pt(0), b = pt(18);
        for (int i = 0; i < n; ++i) {
            int c = pt(i);
            const int thick = thumb ? 1 : 2;
            p.fillRect(c, t, thick, b - t + 1, Qt::black);
            p.fillRect(t, c, b - t + 1, thick, Qt::black);
        }
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        const double star = thumb ? 2 : 3;
        for (int x : {3, 9, 15})
            for (int y : {3, 9, 15})
                p.drawEllipse(QPointF(pt(x) + 0.5, pt(y) + 0.5), star, star);
        p.end();
        const int k = thumb ? 0 : 1;
        for (const auto& st : stones) {
            if (st[0] >= n || st[1] >= n) continue;
            DrawTile(surface, tiles[sizeIndex][size_t(st[2] - 1)], (inner / n) * st[0] + k,
                     (inner / n) * st[1] + k);
        }
        return surface;
    };
    // A corner life-and-death problem (black's six-point eye space with a
    // white stone inside) and a few stones of an opening elsewhere.
    const std::vector<std::array<int, 3>> shape = {
        {0, 2, 1},  {1, 2, 1},  {2, 2, 1},   {3, 1, 1},   {3, 0, 1},   {0, 3, 2},
        {1, 3, 2},  {2, 3, 2},  {3, 2, 2},   {4, 1, 2},   {4, 0, 2},   {1, 1, 2},
        {6, 2, 1},  {9, 3, 2},  {10, 9, 1},  {9, 10, 2},  {3, 9, 1},   {15, 3, 1},
        {16, 5, 2}, {3, 15, 2}, {15, 15, 1}, {13, 16, 2}, {16, 13, 1}, {9, 15, 1}};
    const std::vector<QImage> panels = {
        drawPanel(381, 13, false, 0, shape), drawPanel(381, 19, false, 1, shape),
        drawPanel(176, 16, true, 2, shape), drawPanel(131, 14, true, 3, shape)};
    const int gap = 16;
    QImage sheet(gap * 3 + 381 * 2, gap * 3 + 381 + 176, QImage::Format_RGB32);
    sheet.fill(QColor(238, 236, 230));
    QPainter p(&sheet);
    p.drawImage(gap, gap, panels[0]);
    p.drawImage(gap * 2 + 381, gap, panels[1]);
    p.drawImage(gap, gap * 2 + 381, panels[2]);
    p.drawImage(gap * 2 + 176, gap * 2 + 381 + (176 - 131), panels[3]);
    // Close-ups of the 11 and 9 pixel stones, four times enlarged.
    QImage close = panels[3].copy(0, 0, 60, 60).scaled(240, 240);
    p.drawImage(gap * 3 + 176 + 131, gap * 2 + 381 - 64 + 64, close);
    QImage close2 = panels[2].copy(0, 0, 60, 60).scaled(176, 176);
    p.drawImage(gap * 4 + 176 + 131 + 240, gap * 2 + 381, close2);
    return sheet;
}

} // namespace art
