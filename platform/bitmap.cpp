#include "platform/bitmap.h"

#include "library/files.h"

#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace {

constexpr qint64 kMaxBitmapBytes = 64 * 1024 * 1024;
constexpr int kMaxEdge = 16384;
constexpr qint64 kHeaderBytes = 14 + 124; // file header and the largest info header
constexpr qint64 kChunkBytes = 64 * 1024;

uint32_t U32(const uchar* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint16_t U16(const uchar* p) {
    return uint16_t(p[0] | p[1] << 8);
}

struct Layout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bytesPerPixel = 3;
    qint64 offset = 0;
    qint64 stride = 0;
};

// True when the header claims the layout we decode ourselves, whether or
// not the rest of the file holds up.
bool ClaimsOwnLayout(const uchar* d, qint64 have) {
    if (have < 54 || d[0] != 'B' || d[1] != 'M') return false;
    const int bpp = U16(d + 28);
    return U32(d + 30) == 0 && (bpp == 24 || bpp == 32);
}

// The layout of an uncompressed 24- or 32-bit BMP whose first `have` bytes
// are `d`, in a file of `fileSize` bytes; nothing when it is anything else.
std::optional<Layout> ParseHeader(const uchar* d, qint64 have, qint64 fileSize) {
    if (have < 54 || d[0] != 'B' || d[1] != 'M') return std::nullopt;
    const uint32_t header = U32(d + 14);
    if (header < 40 || 14 + qint64(header) > fileSize) return std::nullopt;
    const auto width = int32_t(U32(d + 18));
    const auto rawHeight = int32_t(U32(d + 22));
    const int bpp = U16(d + 28);
    if (U16(d + 26) != 1 || U32(d + 30) != 0 || (bpp != 24 && bpp != 32)) return std::nullopt;
    if (rawHeight == INT32_MIN) return std::nullopt;
    Layout l;
    l.topDown = rawHeight < 0;
    l.width = width;
    l.height = l.topDown ? -rawHeight : rawHeight;
    if (l.width <= 0 || l.height <= 0 || l.width > kMaxEdge || l.height > kMaxEdge)
        return std::nullopt;
    l.bytesPerPixel = bpp / 8;
    l.offset = U32(d + 10);
    l.stride = ((qint64(l.width) * bpp + 31) / 32) * 4;
    if (l.offset < 14 + qint64(header) || l.offset + l.stride * l.height > fileSize)
        return std::nullopt;
    return l;
}

// One stored row (blue, green, red[, unused]) into `width` RGB32 pixels.
void ConvertRow(const uchar* src, QRgb* dst, int width, int bytesPerPixel) {
    QRgb* const end = dst + width;
    if (bytesPerPixel == 3) {
        // Four pixels (twelve bytes, blue-green-red each) from three
        // little-endian words: the start-up pictures decode in half the time.
        if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
            for (; end - dst >= 4; dst += 4, src += 12) {
                uint32_t w[3];
                std::memcpy(w, src, sizeof w);
                dst[0] = 0xff000000u | w[0];
                dst[1] = 0xff000000u | w[0] >> 24 | w[1] << 8;
                dst[2] = 0xff000000u | w[1] >> 16 | w[2] << 16;
                dst[3] = 0xff000000u | w[2] >> 8;
            }
        }
        for (; dst != end; ++dst, src += 3)
            *dst = 0xff000000u | uint32_t(src[2]) << 16 | uint32_t(src[1]) << 8 | src[0];
    } else {
        for (; dst != end; ++dst, src += 4)
            *dst = 0xff000000u | uint32_t(src[2]) << 16 | uint32_t(src[1]) << 8 | src[0];
    }
}

// The image for `l`, cut to `limit` (from the top-left corner) when valid.
QImage MakeImage(const Layout& l, QSize limit) {
    QSize size(l.width, l.height);
    if (limit.isValid()) size = size.boundedTo(limit);
    if (size.isEmpty()) return {};
    return QImage(size, QImage::Format_RGB32);
}

// Stored row `r` (in file order) is image row `y`, or outside the image (-1).
int ImageRow(const Layout& l, const QImage& image, int r) {
    const int y = l.topDown ? r : l.height - 1 - r;
    return y < image.height() ? y : -1;
}

} // namespace

QImage DecodeBitmap(const QByteArray& bytes, QSize limit) {
    const auto* d = reinterpret_cast<const uchar*>(bytes.constData());
    const auto layout = ParseHeader(d, bytes.size(), bytes.size());
    if (!layout) return {};
    QImage image = MakeImage(*layout, limit);
    if (image.isNull()) return {};
    for (int r = 0; r < layout->height; ++r) {
        const int y = ImageRow(*layout, image, r);
        if (y < 0) continue;
        ConvertRow(d + layout->offset + layout->stride * r,
                   reinterpret_cast<QRgb*>(image.scanLine(y)), image.width(),
                   layout->bytesPerPixel);
    }
    return image;
}

QImage ReadBitmap(const QString& path, QSize limit) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxBitmapBytes) return {};
    const qint64 fileSize = file.size();
    const QByteArray head = file.read(kHeaderBytes);
    const auto layout =
        ParseHeader(reinterpret_cast<const uchar*>(head.constData()), head.size(), fileSize);
    if (!layout) {
        // One of ours but broken (cut short, sizes beyond the file): no picture.
        if (ClaimsOwnLayout(reinterpret_cast<const uchar*>(head.constData()), head.size()))
            return {};
        // Not one of ours: let the general reader try (paletted, compressed, PNG…).
        QImage image;
        if (!file.seek(0) || !image.loadFromData(file.read(kMaxBitmapBytes))) return {};
        image = image.convertToFormat(QImage::Format_RGB32);
        return limit.isValid() && !QRect(QPoint(), limit).contains(image.rect())
                   ? image.copy(QRect(QPoint(), limit).intersected(image.rect()))
                   : image;
    }
    QImage image = MakeImage(*layout, limit);
    if (image.isNull() || !file.seek(layout->offset)) return {};
    // Rows in file order, a chunk of whole rows at a time; with the rows
    // stored bottom-up, those below a cut picture are skipped unread.
    int r = 0;
    if (!layout->topDown && image.height() < layout->height) {
        r = layout->height - image.height();
        if (!file.seek(layout->offset + layout->stride * r)) return {};
    }
    const int rowsPerChunk = int(std::max<qint64>(1, kChunkBytes / layout->stride));
    std::vector<uchar> buffer(size_t(layout->stride * rowsPerChunk));
    while (r < layout->height) {
        const int rows = std::min(rowsPerChunk, layout->height - r);
        const qint64 want = layout->stride * rows;
        if (file.read(reinterpret_cast<char*>(buffer.data()), want) != want) return {};
        for (int k = 0; k < rows; ++k, ++r) {
            const int y = ImageRow(*layout, image, r);
            if (y < 0) continue;
            ConvertRow(buffer.data() + layout->stride * k,
                       reinterpret_cast<QRgb*>(image.scanLine(y)), image.width(),
                       layout->bytesPerPixel);
        }
        if (layout->topDown && r >= image.height()) break; // the rest lies below the cut
    }
    return image;
}

QSize BitmapSize(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray head = file.read(kHeaderBytes);
    if (const auto layout =
            ParseHeader(reinterpret_cast<const uchar*>(head.constData()), head.size(), file.size()))
        return QSize(layout->width, layout->height);
    return ReadBitmap(path).size();
}

QString DoubleDensityName(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0) return name + QStringLiteral("@2x");
    return name.left(dot) + QStringLiteral("@2x") + name.mid(dot);
}

QImage ReadDataPicture(const QString& name, qreal dpr) {
    if (dpr > 1.0) {
        const QString twice = DataFile(DoubleDensityName(name));
        if (QFileInfo(twice).isFile()) {
            QImage image = ReadBitmap(twice);
            if (!image.isNull()) {
                image.setDevicePixelRatio(2.0);
                return image;
            }
        }
    }
    return ReadBitmap(DataFile(name));
}
