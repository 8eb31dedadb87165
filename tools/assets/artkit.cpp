#include "artkit.h"

#include <algorithm>
#include <vector>

namespace art {

namespace {

// One horizontal and one vertical running-sum box blur over all four
// channels (premultiplied or opaque 32-bit pixels).
void BoxBlurOnce(QImage& img, int r) {
    const int w = img.width(), h = img.height();
    QImage tmp(w, h, img.format());
    const int span = 2 * r + 1;
    auto pass = [span, r](auto get, auto put, int n) {
        int s[4] = {0, 0, 0, 0};
        auto addc = [&s](QRgb c, int k) {
            s[0] += k * qRed(c);
            s[1] += k * qGreen(c);
            s[2] += k * qBlue(c);
            s[3] += k * qAlpha(c);
        };
        for (int i = -r; i <= r; ++i)
            addc(get(std::clamp(i, 0, n - 1)), 1);
        for (int i = 0; i < n; ++i) {
            put(i, qRgba(s[0] / span, s[1] / span, s[2] / span, s[3] / span));
            addc(get(std::clamp(i - r, 0, n - 1)), -1);
            addc(get(std::clamp(i + r + 1, 0, n - 1)), 1);
        }
    };
    for (int y = 0; y < h; ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        QRgb* dst = reinterpret_cast<QRgb*>(tmp.scanLine(y));
        pass([src](int i) { return src[i]; }, [dst](int i, QRgb c) { dst[i] = c; }, w);
    }
    for (int x = 0; x < w; ++x) {
        pass([&tmp, x](int i) { return reinterpret_cast<const QRgb*>(tmp.constScanLine(i))[x]; },
             [&img, x](int i, QRgb c) { reinterpret_cast<QRgb*>(img.scanLine(i))[x] = c; }, h);
    }
}

} // namespace

void Blur(QImage& image, int radius) {
    if (radius <= 0) return;
    if (image.format() != QImage::Format_RGB32 &&
        image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // Three passes of a box a third of the radius wide are close to a Gaussian.
    int r = std::max(1, radius / 2);
    for (int i = 0; i < 3; ++i)
        BoxBlurOnce(image, r);
}

} // namespace art
