#include "board/boardview.h"

#include "library/files.h"
#include "library/player.h"
#include "platform/bitmap.h"
#include "platform/platform.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QtMath>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>

int NearestEven(double v) {
    const double f = std::floor(v);
    const double d = v - f;
    if (d > 0.5) return int(f) + 1;
    if (d < 0.5) return int(f);
    return std::fmod(f, 2.0) == 0.0 ? int(f) : int(f) + 1;
}

BoardMetrics InitBoardMetrics(int n, double innerW, double innerH, bool thumbnail) {
    n = std::clamp(n, 1, kBoardSize);
    BoardMetrics m;
    m.gBoardLines = int16_t(n);
    m.gStoneSize = int16_t(thumbnail ? NearestEven(innerW) / n : NearestEven(innerW / n));
    m.gBoardW = int16_t(NearestEven(innerW));
    m.gBoardH = int16_t(NearestEven(innerH));
    return m;
}

int PointToPixel(const BoardMetrics& m, int i) {
    return NearestEven((i + 0.5) * m.gStoneSize);
}

int CellOriginX(const BoardMetrics& m, int i) {
    return m.gBoardLines > 0 ? (m.gBoardW / m.gBoardLines) * i : 0;
}

int CellOriginY(const BoardMetrics& m, int i) {
    return m.gBoardLines > 0 ? (m.gBoardH / m.gBoardLines) * i : 0;
}

int PixelToPoint(const BoardMetrics& m, double p) {
    if (m.gStoneSize <= 0) return -1;
    return NearestEven(p) / m.gStoneSize; // integer division truncates toward zero
}

bool IsShownPoint(const BoardMetrics& m, int x, int y) {
    const int n = std::min<int>(m.gBoardLines, kBoardSize);
    return x >= 0 && y >= 0 && x < n && y < n;
}

QPoint PressedPoint(const BoardMetrics& m, QSize inner, QPointF pos) {
    const QPoint outside(-1, -1);
    if (pos.x() < 0 || pos.y() < 0 || pos.x() >= inner.width() || pos.y() >= inner.height())
        return outside;
    const int x = PixelToPoint(m, pos.x());
    const int y = PixelToPoint(m, pos.y());
    return IsShownPoint(m, x, y) ? QPoint(x, y) : outside;
}

// ---------------------------------------------------------------------------
// frmSource: the tile store.

namespace frmSource {

// What an empty board surface (picture, lines, star points) was drawn for.
struct EmptyBoardKey {
    QSize size;
    qreal ratio = 0;
    int lines = 0;
    int stoneSize = 0;
    int boardW = 0;
    int boardH = 0;
    bool thumbnail = false;
    bool operator==(const EmptyBoardKey&) const = default;
};

namespace {

constexpr int kTiles = 16;

struct Store {
    bool loaded = false;
    QImage board;
    std::array<QImage, kTiles> tiles;
    // For screens above ratio 1, made on first use: the double-density board
    // (or the plain one when there is none) and one premultiplied stone
    // picture per tile pair (index of the image tile).
    bool denseTried = false;
    QImage denseBoard;
    std::array<QImage, kTiles> sprites;
    std::map<std::pair<QString, int>, QPixmap> buttons;
    // The last empty board drawn: the next board of the same size and lines
    // starts from it (a copy of its pixels) instead of drawing it again.
    EmptyBoardKey emptyKey;
    QImage emptyBoard;
};

Store& S() {
    static Store store;
    return store;
}

const QImage& Empty() {
    static const QImage empty;
    return empty;
}

bool LoadImage(const QString& name, QImage& out, QString* error) {
    const QString path = DataFile(name);
    QImage image = ReadBitmap(path);
    if (image.isNull()) {
        if (error)
            *error = QStringLiteral("画像ファイル「%1」を読み込めません。\n%2").arg(name, path);
        return false;
    }
    out = image.convertToFormat(QImage::Format_RGB32);
    return true;
}

} // namespace

// The stone over transparency: opacity where the mask leaves black, colour
// from the image, which is black outside the stone (premultiplied already).
QImage StoneFromTiles(const QImage& image, const QImage& mask) {
    if (image.isNull() || image.size() != mask.size()) return {};
    QImage sprite(image.size(), QImage::Format_ARGB32_Premultiplied);
    const QImage im = image.convertToFormat(QImage::Format_RGB32);
    const QImage mk = mask.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < sprite.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(im.constScanLine(y));
        const auto* m = reinterpret_cast<const QRgb*>(mk.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(sprite.scanLine(y));
        for (int x = 0; x < sprite.width(); ++x) {
            const int alpha = 255 - qGray(m[x]);
            out[x] = qRgba(std::min(qRed(a[x]), alpha), std::min(qGreen(a[x]), alpha),
                           std::min(qBlue(a[x]), alpha), alpha);
        }
    }
    sprite.setDevicePixelRatio(image.devicePixelRatio());
    return sprite;
}

bool IsLoaded() {
    return S().loaded;
}

bool Load(QString* error) {
    QImage board;
    std::array<QImage, kTiles> tiles;
    if (!LoadImage(QStringLiteral("board.bmp"), board, error)) return false;
    for (int i = 0; i < kTiles; ++i)
        if (!LoadImage(StoneBitmapName(i), tiles[size_t(i)], error)) return false;
    Store& s = S();
    s.board = std::move(board);
    s.tiles = std::move(tiles);
    s.denseTried = false;
    s.denseBoard = QImage();
    s.sprites = {};
    s.loaded = true;
    return true;
}

void Unload() {
    S() = Store{};
}

const QImage& BoardPicture() {
    return S().loaded ? S().board : Empty();
}

const QImage& Tile(int index) {
    if (!S().loaded || index < 0 || index >= kTiles) return Empty();
    return S().tiles[size_t(index)];
}

const QImage& DenseBoardPicture() {
    Store& s = S();
    if (!s.loaded) return Empty();
    if (!s.denseTried) {
        s.denseTried = true;
        s.denseBoard = ReadDataPicture(QStringLiteral("board.bmp"), 2.0);
        if (s.denseBoard.isNull()) s.denseBoard = s.board;
    }
    return s.denseBoard;
}

const QImage& StoneSprite(int imageIndex) {
    Store& s = S();
    if (!s.loaded || imageIndex < 0 || imageIndex + 1 >= kTiles) return Empty();
    QImage& sprite = s.sprites[size_t(imageIndex)];
    if (sprite.isNull()) {
        QImage image = ReadDataPicture(StoneBitmapName(imageIndex), 2.0);
        QImage mask = ReadDataPicture(StoneBitmapName(imageIndex + 1), 2.0);
        if (image.isNull() || mask.isNull() || image.size() != mask.size() ||
            image.devicePixelRatio() != mask.devicePixelRatio()) {
            image = s.tiles[size_t(imageIndex)];
            mask = s.tiles[size_t(imageIndex + 1)];
        }
        sprite = StoneFromTiles(image, mask);
    }
    return sprite;
}

const QPixmap& ButtonPicture(const QString& name, qreal dpr) {
    const int density = dpr > 1.0 ? 2 : 1;
    QPixmap& slot = S().buttons[{name, density}];
    if (slot.isNull()) {
        const QImage image = ReadDataPicture(name, density);
        if (!image.isNull()) slot = QPixmap::fromImage(image);
    }
    return slot;
}

const QImage* KeptEmptyBoard(const EmptyBoardKey& key) {
    const Store& s = S();
    return s.loaded && !s.emptyBoard.isNull() && s.emptyKey == key ? &s.emptyBoard : nullptr;
}

void KeepEmptyBoard(const EmptyBoardKey& key, const QImage& board) {
    Store& s = S();
    if (!s.loaded) return;
    s.emptyKey = key;
    s.emptyBoard = board.copy();
}

} // namespace frmSource

// ---------------------------------------------------------------------------
// BoardView

namespace {

const QColor kLineColour(0, 0, 0);
const QColor kMarkColour(128, 0, 0);
const QColor kEmptySurface(200, 160, 96);

void EnsureTileStore() {
    if (frmSource::IsLoaded()) return;
    QString error;
    if (!frmSource::Load(&error)) FatalError(error);
}

// Our drawing coordinates name pixels; the painter's name pixel edges.
QPointF Centre(double x, double y) {
    return {x + 0.5, y + 0.5};
}

// A solid disc of device pixels: every pixel whose centre lies within
// `radius` of `c` (device coordinates). Symmetric around a centre between two
// pixels, which the painter's own ellipse fill is not at these small sizes.
void FillDeviceDisc(QImage& image, QPointF c, double radius, QRgb colour) {
    const int x0 = std::max(0, int(std::floor(c.x() - radius)));
    const int x1 = std::min(image.width() - 1, int(std::ceil(c.x() + radius)));
    const int y0 = std::max(0, int(std::floor(c.y() - radius)));
    const int y1 = std::min(image.height() - 1, int(std::ceil(c.y() + radius)));
    for (int y = y0; y <= y1; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = x0; x <= x1; ++x) {
            const double dx = x + 0.5 - c.x();
            const double dy = y + 0.5 - c.y();
            if (dx * dx + dy * dy <= radius * radius) row[x] = colour;
        }
    }
}

// The same disc centred at (cx, cy) in drawing coordinates.
void FillDisc(QImage& image, double cx, double cy, double radius, QRgb colour) {
    const double scale = image.devicePixelRatio();
    FillDeviceDisc(image, Centre(cx, cy) * scale, radius * scale, colour);
}

// `picture` at the top-left corner of the surface, the plain colour where it
// does not reach: what a painter's fill and image copy give, pixel for pixel.
void CopyPicture(QImage& surface, const QImage& picture, QRgb plain) {
    if (picture.format() != QImage::Format_RGB32 && !picture.isNull()) {
        surface.fill(plain);
        QPainter p(&surface);
        p.drawImage(0, 0, picture);
        return;
    }
    const int w = std::min(surface.width(), picture.width());
    const int h = std::min(surface.height(), picture.height());
    if (w < surface.width() || h < surface.height()) surface.fill(plain);
    uchar* to = surface.bits();
    const uchar* from = picture.constBits();
    for (int y = 0; y < h; ++y, to += surface.bytesPerLine(), from += picture.bytesPerLine())
        std::memcpy(to, from, size_t(w) * sizeof(QRgb));
}

// Above ratio 1 a grid line of `thick` drawing pixels at drawing coordinate
// c lies on whole device pixels, and every line is equally wide: at 1.5 a
// line placed by the painter would come out one or two pixels wide by turns.
struct DeviceLine {
    int start;
    int width;
    double centre() const { return start + width / 2.0; }
};
DeviceLine SnapLine(int c, int thick, double ratio) {
    return {qRound(c * ratio), std::max(1, qRound(thick * ratio))};
}

// Grid lines of device pixels: for each of `lines`, a band of rows and a
// band of columns, both running from `from` to `to` (exclusive), clipped to
// the surface. Row by row, all the columns' pixels of a row at once.
void FillGrid(QImage& image, const DeviceLine* lines, int n, int from, int to, QRgb ink) {
    const int width = image.width();
    const int height = image.height();
    const int x0 = std::max(0, from);
    const int x1 = std::min(width, to);
    const int y1 = std::min(height, to);
    if (x0 >= x1 || x0 >= y1) return;
    // Each line's band, clipped to the surface once.
    std::array<std::pair<int, int>, kBoardSize> bands{};
    n = std::min(n, kBoardSize);
    for (int i = 0; i < n; ++i)
        bands[size_t(i)] = {std::max(0, lines[i].start),
                            std::max(0, std::min(width, lines[i].start + lines[i].width))};
    const qsizetype stride = image.bytesPerLine();
    uchar* const bits = image.bits();
    for (int i = 0; i < n; ++i) {
        const int bottom = std::min(height, bands[size_t(i)].second);
        for (int y = bands[size_t(i)].first; y < bottom; ++y) {
            auto* row = reinterpret_cast<QRgb*>(bits + y * stride);
            std::fill(row + x0, row + x1, ink);
        }
    }
    for (int y = x0; y < y1; ++y) {
        auto* row = reinterpret_cast<QRgb*>(bits + y * stride);
        for (int i = 0; i < n; ++i)
            for (int x = bands[size_t(i)].first; x < bands[size_t(i)].second; ++x)
                row[x] = ink;
    }
}

// One row of a tile combined into the surface, four pixels to a step (the
// compiler joins the four into one vector operation).
template <typename Op>
inline void CombineRow(QRgb* __restrict dst, const QRgb* __restrict src, int w, Op op) {
    int x = 0;
    for (; x + 4 <= w; x += 4) {
        dst[x] = op(dst[x], src[x]);
        dst[x + 1] = op(dst[x + 1], src[x + 1]);
        dst[x + 2] = op(dst[x + 2], src[x + 2]);
        dst[x + 3] = op(dst[x + 3], src[x + 3]);
    }
    for (; x < w; ++x)
        dst[x] = op(dst[x], src[x]);
}

// One tile combined into the surface at `at`, `size` square (clipped to both):
// AND for a mask, then XOR for the image, as the painter's raster operations
// do on opaque pixels, straight on the pixels at a fraction of their cost.
void CombineTile(QImage& surface, QPoint at, const QImage& tile, int size, bool xorImage) {
    const int x0 = std::max(0, at.x());
    const int y0 = std::max(0, at.y());
    const int x1 = std::min({surface.width(), at.x() + size, at.x() + tile.width()});
    const int y1 = std::min({surface.height(), at.y() + size, at.y() + tile.height()});
    if (x0 >= x1 || y0 >= y1 || tile.format() != QImage::Format_RGB32) return;
    const qsizetype dstStride = surface.bytesPerLine();
    const qsizetype srcStride = tile.bytesPerLine();
    auto* dstRow = surface.bits() + (y0 * dstStride) + x0 * 4;
    const auto* srcRow = tile.constBits() + (y0 - at.y()) * srcStride + (x0 - at.x()) * 4;
    const int w = x1 - x0;
    for (int y = y0; y < y1; ++y, dstRow += dstStride, srcRow += srcStride) {
        auto* dst = reinterpret_cast<QRgb*>(dstRow);
        const auto* src = reinterpret_cast<const QRgb*>(srcRow);
        if (xorImage)
            CombineRow(dst, src, w, [](QRgb d, QRgb t) { return (d ^ t) | 0xff000000u; });
        else
            CombineRow(dst, src, w, [](QRgb d, QRgb t) { return (d & t) | 0xff000000u; });
    }
}

} // namespace

BoardView::BoardView(BoardStyle style, QWidget* parent) : QWidget(parent), style_(style) {
    setObjectName(QStringLiteral("picBoard"));
    setAccessibleName(QStringLiteral("碁盤"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize BoardView::innerSize() const {
    const int b = std::max(0, style_.border);
    return QSize(std::max(0, width() - 2 * b), std::max(0, height() - 2 * b));
}

qreal BoardView::surfaceRatio() const {
    const qreal dpr = devicePixelRatioF();
    return dpr > 0 ? dpr : 1.0;
}

void BoardView::ensureImage() {
    const QSize inner = innerSize();
    const qreal dpr = surfaceRatio();
    // The surface holds device pixels: at ratio 1 one per drawing pixel.
    const QSize device(qCeil(inner.width() * dpr), qCeil(inner.height() * dpr));
    if (image_.size() == device && image_.devicePixelRatio() == dpr) return;
    QImage fresh(device, QImage::Format_RGB32);
    fresh.setDevicePixelRatio(dpr);
    fresh.fill(kEmptySurface);
    if (!image_.isNull()) {
        QPainter p(&fresh);
        p.drawImage(0, 0, image_);
    }
    image_ = fresh;
}

void BoardView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ensureImage();
}

void BoardView::InitBoardMetrics(int n) {
    ensureImage();
    const QSize inner = innerSize();
    metrics_ = ::InitBoardMetrics(n, inner.width(), inner.height(), style_.thumbnail);
}

void BoardView::DrawBoard(const Board& board) {
    ensureImage();
    EnsureTileStore();
    // Every problem of the same lines shows the same empty board: drawn once,
    // then copied.
    const frmSource::EmptyBoardKey key{
        image_.size(),    image_.devicePixelRatio(), metrics_.gBoardLines, metrics_.gStoneSize,
        metrics_.gBoardW, metrics_.gBoardH,          style_.thumbnail};
    if (const QImage* kept = frmSource::KeptEmptyBoard(key)) {
        CopyPicture(image_, *kept, kEmptySurface.rgb());
    } else {
        drawEmptyBoard();
        frmSource::KeepEmptyBoard(key, image_);
    }
    // One painter for all the stones (none at ratio 1: the tiles are combined
    // straight into the pixels).
    std::optional<QPainter> painter;
    if (image_.devicePixelRatio() != 1.0) painter.emplace(&image_);
    for (int y = 0; y < metrics_.gBoardLines; ++y)
        for (int x = 0; x < metrics_.gBoardLines; ++x) {
            const int16_t state = board[size_t(y * kBoardSize + x)];
            if (state != 0) paintStone(painter ? &*painter : nullptr, x, y, state);
        }
    painter.reset();
    shown_ = board;
    update();
}

void BoardView::drawEmptyBoard() {
    if (image_.devicePixelRatio() == 1.0) {
        // The board picture replaces everything drawn before (copied row by
        // row: a painter costs more than the copy itself), then the lines.
        CopyPicture(image_, frmSource::BoardPicture(), kEmptySurface.rgb());
        drawGridLines();
    } else {
        QPainter p(&image_);
        p.fillRect(QRectF(QPointF(), image_.deviceIndependentSize()), kEmptySurface);
        // The finer board picture, scaled to the surface's own density.
        const QImage& board = frmSource::DenseBoardPicture();
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRectF(QPointF(), board.deviceIndependentSize()), board);
        p.end();
        drawGridLines();
    }
    // All nine star points, whatever n is; those beyond the surface clip.
    const double radius = style_.thumbnail ? 2.0 : 3.0;
    if (image_.devicePixelRatio() == 1.0) {
        for (int sx : {3, 9, 15})
            for (int sy : {3, 9, 15})
                FillDisc(image_, PointToPixel(metrics_, sx) + 0.5, PointToPixel(metrics_, sy) + 0.5,
                         radius, kLineColour.rgb());
    } else {
        drawDenseStarPoints(radius);
    }
}

void BoardView::drawGridLines() {
    const double ratio = image_.devicePixelRatio();
    const int thick = style_.thumbnail ? 1 : 2;
    // Every line from line 0 to line 18: (c, t) to (c + thick - 1, b) and
    // (t, c) to (b, c + thick - 1).
    const int t = PointToPixel(metrics_, 0);
    const int b = PointToPixel(metrics_, 18);
    std::array<DeviceLine, kBoardSize> lines{};
    const int n = std::clamp<int>(metrics_.gBoardLines, 0, kBoardSize);
    for (int i = 0; i < n; ++i)
        lines[size_t(i)] = SnapLine(PointToPixel(metrics_, i), thick, ratio);
    FillGrid(image_, lines.data(), n, SnapLine(t, thick, ratio).start, qRound((b + 1) * ratio),
             kLineColour.rgb());
}

void BoardView::drawDenseStarPoints(double radius) {
    const double ratio = image_.devicePixelRatio();
    const int thick = style_.thumbnail ? 1 : 2;
    // Star points centred on their lines' crossing.
    for (int sx : {3, 9, 15})
        for (int sy : {3, 9, 15}) {
            const DeviceLine x = SnapLine(PointToPixel(metrics_, sx), thick, ratio);
            const DeviceLine y = SnapLine(PointToPixel(metrics_, sy), thick, ratio);
            FillDeviceDisc(image_, QPointF(x.centre(), y.centre()), radius * ratio,
                           kLineColour.rgb());
        }
}

void BoardView::DrawStone(int x, int y, int state) {
    if (state == 0) return;
    ensureImage();
    EnsureTileStore();
    if (image_.devicePixelRatio() == 1.0) {
        paintStone(nullptr, x, y, state);
    } else {
        QPainter p(&image_);
        paintStone(&p, x, y, state);
    }
    update();
}

void BoardView::paintStone(QPainter* painter, int x, int y, int state) {
    const int s = metrics_.gStoneSize;
    // A pitch without its own tile set (a view of other than 13 or 19 lines,
    // only in foreign data) gets the largest tiles centred on the point, as
    // the tiles of a set sit on theirs; the cell origin would leave them off
    // the point by up to half a cell.
    const int tile = StoneTileSize(s);
    const QPoint at = tile == s
                          ? QPoint(CellOriginX(metrics_, x), CellOriginY(metrics_, y)) +
                                QPoint(style_.tileOffset, style_.tileOffset)
                          : QPoint(PointToPixel(metrics_, x), PointToPixel(metrics_, y)) +
                                QPoint(style_.tileOffset - tile / 2, style_.tileOffset - tile / 2);
    if (!painter) {
        CombineTile(image_, at, frmSource::Tile(StoneBitmapIndex(s, state, 1)), tile, false);
        CombineTile(image_, at, frmSource::Tile(StoneBitmapIndex(s, state, 0)), tile, true);
        return;
    }
    // Above ratio 1: the soft-edged stone picture, at the surface's density.
    const QImage& sprite = frmSource::StoneSprite(StoneBitmapIndex(s, state, 0));
    const QSizeF size = sprite.deviceIndependentSize();
    const QSizeF part(std::min<qreal>(tile, size.width()), std::min<qreal>(tile, size.height()));
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(QRectF(at, part), sprite,
                       QRectF(QPointF(), part * sprite.devicePixelRatio()));
}

void BoardView::DrawCandidateMark(int x, int y, int kind) {
    DrawColouredMark(x, y, kind, kMarkColour);
}

void BoardView::DrawColouredMark(int x, int y, int kind, const QColor& colour) {
    if (kind != 0 && kind != 1) return;
    if (x < 0 || x >= kBoardSize || y < 0 || y >= kBoardSize) return;
    ensureImage();
    const int cx = PointToPixel(metrics_, x);
    const int cy = PointToPixel(metrics_, y);
    const double s = metrics_.gStoneSize;
    QPainter p(&image_);
    p.setBrush(Qt::NoBrush);
    if (image_.devicePixelRatio() != 1.0) p.setRenderHint(QPainter::Antialiasing);
    if (kind == 0) {
        p.setPen(QPen(colour, 3));
        const int r = NearestEven(s * 0.82 / 2);
        p.drawEllipse(Centre(cx + 0.5, cy + 0.5), r, r);
    } else {
        p.setPen(QPen(colour, kind == 1 && colour != kMarkColour ? 3 : 2));
        const double h = s / 2;
        p.drawLine(Centre(cx - h + 2, cy - h + 2), Centre(cx + h - 2, cy + h - 2));
        p.drawLine(Centre(cx + h - 2, cy - h + 2), Centre(cx - h + 2, cy + h - 2));
    }
    p.end();
    update();
}

void BoardView::paintEvent(QPaintEvent*) {
    // Moved to a screen of another ratio: draw the shown position afresh.
    if (!image_.isNull() && image_.devicePixelRatio() != surfaceRatio() && shown_) {
        ensureImage();
        const Board board = *shown_;
        DrawBoard(board);
    }
    QPainter p(this);
    const int b = std::max(0, style_.border);
    const QRect r = rect();
    const QRect inner = r.adjusted(b, b, -b, -b);
    const bool covered = b <= 2 && !image_.isNull() &&
                         QRectF(inner.topLeft(), image_.deviceIndependentSize()).contains(inner);
    if (b > 0) {
        // A sunken frame: dark above and to the left, light below and right.
        // The white shows only along the right and bottom edges when the
        // surface covers the inside.
        if (covered) {
            p.fillRect(QRect(0, r.height() - 1, r.width(), 1), QColor(255, 255, 255));
            p.fillRect(QRect(r.width() - 1, 0, 1, r.height()), QColor(255, 255, 255));
        } else {
            p.fillRect(r, QColor(255, 255, 255));
        }
        p.fillRect(QRect(0, 0, r.width(), 1), QColor(128, 128, 128));
        p.fillRect(QRect(0, 0, 1, r.height()), QColor(128, 128, 128));
        if (b > 1) {
            p.fillRect(QRect(1, 1, r.width() - 2, 1), QColor(64, 64, 64));
            p.fillRect(QRect(1, 1, 1, r.height() - 2), QColor(64, 64, 64));
            p.fillRect(QRect(1, r.height() - 2, r.width() - 2, 1), QColor(212, 208, 200));
            p.fillRect(QRect(r.width() - 2, 1, 1, r.height() - 2), QColor(212, 208, 200));
        }
    }
    if (image_.isNull())
        p.fillRect(inner, kEmptySurface);
    else
        p.drawImage(b, b, image_);
    if (keyboard_ && hasFocus() && cursor_.x() >= 0) {
        // The keyboard cursor: a square around the point, drawn over the
        // surface (never into the picture the tests compare).
        const int half = std::max(4, int(metrics_.gStoneSize) / 2 + 1);
        const QPoint c(b + PointToPixel(metrics_, cursor_.x()),
                       b + PointToPixel(metrics_, cursor_.y()));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(220, 0, 0), 2));
        p.drawRect(QRect(c.x() - half, c.y() - half, 2 * half + 1, 2 * half + 1));
    }
}

void BoardView::EnableKeyboard(bool on) {
    keyboard_ = on;
    // Tab reaches the board; a click does not take the focus from the
    // window, whose ← / → keep stepping.
    setFocusPolicy(on ? Qt::TabFocus : Qt::NoFocus);
    update();
}

void BoardView::placeCursor(QPoint p) {
    const int last = std::clamp(int(metrics_.gBoardLines), 1, int(kBoardSize)) - 1;
    p = QPoint(std::clamp(p.x(), 0, last), std::clamp(p.y(), 0, last));
    if (p == cursor_) return;
    cursor_ = p;
    setAccessibleDescription(QStringLiteral("カーソル 横%1 縦%2")
                                 .arg(ToWideDigits(QString::number(p.x() + 1)),
                                      ToWideDigits(QString::number(p.y() + 1))));
    update();
}

void BoardView::focusInEvent(QFocusEvent* event) {
    // The cursor starts in the middle of the shown lines.
    if (keyboard_ && cursor_.x() < 0)
        placeCursor(QPoint(metrics_.gBoardLines / 2, metrics_.gBoardLines / 2));
    QWidget::focusInEvent(event);
    update();
}

void BoardView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void BoardView::keyPressEvent(QKeyEvent* event) {
    if (!keyboard_ || (event->modifiers() & ~Qt::KeypadModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (cursor_.x() < 0) placeCursor(QPoint(metrics_.gBoardLines / 2, metrics_.gBoardLines / 2));
    QPoint p = cursor_;
    switch (event->key()) {
    case Qt::Key_Left:
        p.rx() -= 1;
        break;
    case Qt::Key_Right:
        p.rx() += 1;
        break;
    case Qt::Key_Up:
        p.ry() -= 1;
        break;
    case Qt::Key_Down:
        p.ry() += 1;
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit boardPressed(cursor_.x(), cursor_.y(), 1);
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    placeCursor(p);
}

void BoardView::mousePressEvent(QMouseEvent* event) {
    int bits = 0;
    const Qt::MouseButtons held = event->buttons() | event->button();
    if (held & Qt::LeftButton) bits |= 1;
    if (held & Qt::RightButton) bits |= 2;
    if (bits == 0) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    const int b = std::max(0, style_.border);
    const QPoint point = PressedPoint(metrics_, innerSize(), event->position() - QPointF(b, b));
    emit boardPressed(point.x(), point.y(), bits);
}
