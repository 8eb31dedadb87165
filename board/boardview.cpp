#include "board/boardview.h"

#include "library/files.h"
#include "library/player.h"
#include "platform/bitmap.h"
#include "platform/platform.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

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
namespace {

constexpr int kTiles = 16;

struct Store {
    bool loaded = false;
    QImage board;
    std::array<QImage, kTiles> tiles;
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

bool IsLoaded() {
    return S().loaded;
}

bool Load(QString* error) {
    Store fresh;
    if (!LoadImage(QStringLiteral("board.bmp"), fresh.board, error)) return false;
    for (int i = 0; i < kTiles; ++i)
        if (!LoadImage(StoneBitmapName(i), fresh.tiles[size_t(i)], error)) return false;
    fresh.loaded = true;
    S() = std::move(fresh);
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

// A solid disc: every pixel whose centre lies within `radius` of the centre
// (drawing coordinates). Symmetric around a centre between two pixels, which
// the painter's own ellipse fill is not at these small sizes.
void FillDisc(QImage& image, double cx, double cy, double radius, QRgb colour) {
    const QPointF c = Centre(cx, cy);
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

void BoardView::ensureImage() {
    const QSize inner = innerSize();
    if (image_.size() == inner) return;
    QImage fresh(inner, QImage::Format_RGB32);
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
    {
        QPainter p(&image_);
        // The board picture replaces everything drawn before.
        p.fillRect(image_.rect(), kEmptySurface);
        p.drawImage(0, 0, frmSource::BoardPicture());

        const int n = metrics_.gBoardLines;
        const int t = PointToPixel(metrics_, 0);
        const int b = PointToPixel(metrics_, 18);
        const int thick = style_.thumbnail ? 1 : 2;
        for (int i = 0; i < n; ++i) {
            const int c = PointToPixel(metrics_, i);
            p.fillRect(QRect(c, t, thick, b - t + 1), kLineColour);
            p.fillRect(QRect(t, c, b - t + 1, thick), kLineColour);
        }
    }
    // All nine star points, whatever n is; those beyond the surface clip.
    const double radius = style_.thumbnail ? 2.0 : 3.0;
    for (int sx : {3, 9, 15})
        for (int sy : {3, 9, 15})
            FillDisc(image_, PointToPixel(metrics_, sx) + 0.5, PointToPixel(metrics_, sy) + 0.5,
                     radius, kLineColour.rgb());
    for (int y = 0; y < metrics_.gBoardLines; ++y)
        for (int x = 0; x < metrics_.gBoardLines; ++x) {
            const int16_t state = board[size_t(y * kBoardSize + x)];
            if (state != 0) DrawStone(x, y, state);
        }
    update();
}

void BoardView::DrawStone(int x, int y, int state) {
    if (state == 0) return;
    ensureImage();
    EnsureTileStore();
    const int s = metrics_.gStoneSize;
    const QPoint at(CellOriginX(metrics_, x) + style_.tileOffset,
                    CellOriginY(metrics_, y) + style_.tileOffset);
    const QImage& mask = frmSource::Tile(StoneBitmapIndex(s, state, 1));
    const QImage& stone = frmSource::Tile(StoneBitmapIndex(s, state, 0));
    QPainter p(&image_);
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(at, mask, QRect(0, 0, std::min(s, mask.width()), std::min(s, mask.height())));
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.drawImage(at, stone, QRect(0, 0, std::min(s, stone.width()), std::min(s, stone.height())));
    p.end();
    update();
}

void BoardView::DrawCandidateMark(int x, int y, int kind) {
    if (kind != 0 && kind != 1) return;
    ensureImage();
    const int cx = PointToPixel(metrics_, x);
    const int cy = PointToPixel(metrics_, y);
    const double s = metrics_.gStoneSize;
    QPainter p(&image_);
    p.setBrush(Qt::NoBrush);
    if (kind == 0) {
        p.setPen(QPen(kMarkColour, 3));
        const int r = NearestEven(s * 0.82 / 2);
        p.drawEllipse(Centre(cx + 0.5, cy + 0.5), r, r);
    } else {
        p.setPen(QPen(kMarkColour, 2));
        const double h = s / 2;
        p.drawLine(Centre(cx - h + 2, cy - h + 2), Centre(cx + h - 2, cy + h - 2));
        p.drawLine(Centre(cx + h - 2, cy - h + 2), Centre(cx - h + 2, cy + h - 2));
    }
    p.end();
    update();
}

void BoardView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int b = std::max(0, style_.border);
    const QRect r = rect();
    if (b > 0) {
        // A sunken frame: dark above and to the left, light below and right.
        p.fillRect(r, QColor(255, 255, 255));
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
        p.fillRect(r.adjusted(b, b, -b, -b), kEmptySurface);
    else
        p.drawImage(b, b, image_);
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
