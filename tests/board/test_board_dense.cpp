// The board surface on a screen above pixel ratio 1 (ctest runs this under
// QT_SCALE_FACTOR 2 and 1.5): the surface holds device pixels, every line
// keeps its place and its width, stones come from the "@2x" tiles with soft
// edges, and button pictures from their "@2x" files.
#include "board/boardview.h"
#include "library/files.h"
#include "library/player.h"
#include "platform/bitmap.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtMath>
#include <QtTest>

namespace {

const QRgb kBoardWhite = qRgb(255, 255, 255);
const QRgb kInk = qRgb(0, 0, 0);
const QRgb kStone = qRgb(200, 40, 40);

void Save(const QImage& image, const QString& folder, const QString& name) {
    QVERIFY(image.save(QDir(folder).filePath(name), "BMP"));
}

// Plain tiles (a full square) and "@2x" tiles holding a disc of edge 2s:
// mask black under the disc, image kStone there and black elsewhere.
void WritePictures(const QString& folder, bool dense) {
    QImage board(389, 389, QImage::Format_RGB32);
    board.fill(kBoardWhite);
    Save(board, folder, QStringLiteral("board.bmp"));
    QImage board2(778, 778, QImage::Format_RGB32);
    board2.fill(kBoardWhite);
    if (dense) Save(board2, folder, QStringLiteral("board@2x.bmp"));
    for (int i = 0; i < 16; ++i) {
        const int edge = QStringView(StoneBitmapName(i)).mid(2, 2).toInt();
        const bool mask = i & 1;
        QImage tile(edge, edge, QImage::Format_RGB32);
        tile.fill(mask ? qRgb(0, 0, 0) : kStone);
        Save(tile, folder, StoneBitmapName(i));
        QImage twice(2 * edge, 2 * edge, QImage::Format_RGB32);
        const double c = edge, r = edge - 1.0;
        for (int y = 0; y < twice.height(); ++y)
            for (int x = 0; x < twice.width(); ++x) {
                const bool in =
                    (x + 0.5 - c) * (x + 0.5 - c) + (y + 0.5 - c) * (y + 0.5 - c) <= r * r;
                twice.setPixel(x, y,
                               mask ? (in ? qRgb(0, 0, 0) : qRgb(255, 255, 255))
                                    : (in ? kStone : qRgb(0, 0, 0)));
            }
        if (dense) Save(twice, folder, DoubleDensityName(StoneBitmapName(i)));
    }
    QImage button(41, 29, QImage::Format_RGB32);
    button.fill(Qt::gray);
    Save(button, folder, QStringLiteral("quest000.bmp"));
    QImage button2(82, 58, QImage::Format_RGB32);
    button2.fill(Qt::darkGray);
    if (dense) Save(button2, folder, QStringLiteral("QUEST000@2X.BMP"));
}

// The runs of ink along device row `y`: (start, length) pairs.
QList<QPair<int, int>> InkRuns(const QImage& img, int y) {
    QList<QPair<int, int>> runs;
    for (int x = 0; x < img.width(); ++x) {
        if (img.pixel(x, y) != kInk) continue;
        int end = x;
        while (end < img.width() && img.pixel(end, y) == kInk)
            ++end;
        runs.append({x, end - x});
        x = end;
    }
    return runs;
}

std::unique_ptr<BoardView> MakeView(int inner) {
    auto v = std::make_unique<BoardView>(BoardStyle{});
    v->resize(inner + 4, inner + 4);
    return v;
}

} // namespace

class TestBoardDense : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dense_;
    QTemporaryDir plain_;
    qreal ratio_ = 1.0;

    void use(const QTemporaryDir& dir) {
        frmSource::Unload();
        gDataPath = MakeDataPath(dir.path());
    }

private slots:
    void initTestCase() {
        QVERIFY(dense_.isValid() && plain_.isValid());
        WritePictures(dense_.path(), true);
        WritePictures(plain_.path(), false);
        ratio_ = MakeView(381)->devicePixelRatioF();
        if (ratio_ <= 1.0) QSKIP("runs under QT_SCALE_FACTOR above 1");
    }

    void surfaceHoldsDevicePixels() {
        use(dense_);
        auto v = MakeView(381);
        v->InitBoardMetrics(19);
        v->DrawBoard(Board{});
        QCOMPARE(v->image().devicePixelRatio(), ratio_);
        QCOMPARE(v->image().width(), qCeil(381 * ratio_));
        // The metrics stay in drawing (logical) pixels.
        QCOMPARE(int(v->metrics().gStoneSize), 20);
        QCOMPARE(PointToPixel(v->metrics(), 18), 370);
    }

    // Nineteen vertical lines across a row between the horizontal ones, each
    // exactly two drawing pixels wide at its logical place.
    void linesKeepPlaceAndWidth() {
        use(dense_);
        auto v = MakeView(381);
        v->InitBoardMetrics(19);
        v->DrawBoard(Board{});
        const auto runs = InkRuns(v->image(), qFloor(100 * ratio_));
        QCOMPARE(runs.size(), 19);
        for (int i = 0; i < 19; ++i) {
            const int c = PointToPixel(v->metrics(), i);
            QCOMPARE(runs[i].second, qRound(2 * ratio_));
            QVERIFY2(qAbs(runs[i].first - c * ratio_) <= 1.0, qPrintable(QString::number(i)));
        }
    }

    // A picker thumbnail (one-pixel lines, layouts A and B): every line the
    // same whole number of device pixels wide at its place, the star point
    // centred on its lines' crossing. Placed by the painter at 1.5 the lines
    // came out one and two pixels wide by turns.
    void thumbnailLinesAreEven_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("lines");
        QTest::newRow("layout A") << 131 << 11;
        QTest::newRow("layout B") << 176 << 19;
    }
    void thumbnailLinesAreEven() {
        QFETCH(int, width);
        QFETCH(int, lines);
        use(dense_);
        BoardView v(BoardStyle{0, true, 0});
        v.resize(width, width);
        v.InitBoardMetrics(lines);
        v.DrawBoard(Board{});
        const QImage& img = v.image();
        QCOMPARE(img.devicePixelRatio(), ratio_);
        const int pitch = v.metrics().gStoneSize;
        // A row between two lines, clear of the star points.
        const int row = qFloor((PointToPixel(v.metrics(), 1) + pitch / 2) * ratio_);
        const auto runs = InkRuns(img, row);
        QCOMPARE(runs.size(), lines);
        for (int i = 0; i < lines; ++i) {
            QCOMPARE(runs[i].second, qRound(ratio_));
            QVERIFY(qAbs(runs[i].first - PointToPixel(v.metrics(), i) * ratio_) <= 0.5);
        }
        // The star point at (3, 3), in the device row just above horizontal
        // line 3: as far out on each side of vertical line 3.
        const QPair<int, int> line = runs[3];
        bool found = false;
        for (const auto& r : InkRuns(img, line.first - 1))
            if (r.first < line.first && r.first + r.second > line.first + line.second) {
                found = true;
                QCOMPARE(line.first - r.first, r.first + r.second - (line.first + line.second));
            }
        QVERIFY(found);
    }

    // A stone from the "@2x" tiles: its colour at the centre, the board
    // showing in the corners of its square (round, not a square tile).
    void stonesComeFromDenseTiles() {
        use(dense_);
        auto v = MakeView(381);
        v->InitBoardMetrics(19);
        Board b{};
        b[size_t(5 + 19 * 5)] = 1;
        v->DrawBoard(b);
        const QImage& img = v->image();
        const double left = CellOriginX(v->metrics(), 5) + 1; // learn/view tile offset
        const auto at = [&](double x, double y) {
            return img.pixel(qFloor(x * ratio_), qFloor(y * ratio_));
        };
        QCOMPARE(at(left + 10, left + 10), kStone);
        QCOMPARE(at(left + 0.2, left + 0.2), kBoardWhite);
        QCOMPARE(at(left + 19.6, left + 0.2), kBoardWhite);
    }

    // Without "@2x" tiles the plain ones are scaled: the whole square is stone.
    void plainTilesServeWhenNoDenseOnes() {
        use(plain_);
        auto v = MakeView(381);
        v->InitBoardMetrics(19);
        Board b{};
        b[size_t(5 + 19 * 5)] = 1;
        v->DrawBoard(b);
        const double left = CellOriginX(v->metrics(), 5) + 1;
        QCOMPARE(v->image().pixel(qFloor((left + 10) * ratio_), qFloor((left + 10) * ratio_)),
                 kStone);
        QCOMPARE(v->image().pixel(qCeil((left + 1) * ratio_), qCeil((left + 1) * ratio_)), kStone);
    }

    void buttonPicturesAtDensity() {
        use(dense_);
        const QPixmap& dense = frmSource::ButtonPicture(QStringLiteral("quest000.bmp"), ratio_);
        QCOMPARE(dense.devicePixelRatio(), 2.0);
        QCOMPARE(dense.deviceIndependentSize(), QSizeF(41, 29));
        const QPixmap& flat = frmSource::ButtonPicture(QStringLiteral("quest000.bmp"), 1.0);
        QCOMPARE(flat.size(), QSize(41, 29));
        QCOMPARE(flat.devicePixelRatio(), 1.0);
        use(plain_);
        const QPixmap& fallback = frmSource::ButtonPicture(QStringLiteral("quest000.bmp"), ratio_);
        QCOMPARE(fallback.size(), QSize(41, 29));
    }

    // The premultiplied stone that a mask-and-image pair paints.
    void stoneFromTiles_data() {
        QTest::addColumn<QRgb>("image");
        QTest::addColumn<QRgb>("mask");
        QTest::addColumn<QRgb>("sprite");
        QTest::newRow("under the stone") << kStone << qRgb(0, 0, 0) << qRgba(200, 40, 40, 255);
        QTest::newRow("outside") << qRgb(0, 0, 0) << qRgb(255, 255, 255) << qRgba(0, 0, 0, 0);
        QTest::newRow("half-covered rim")
            << qRgb(100, 20, 20) << qRgb(127, 127, 127) << qRgba(100, 20, 20, 128);
        QTest::newRow("colour beyond coverage is clamped")
            << qRgb(250, 250, 250) << qRgb(155, 155, 155) << qRgba(100, 100, 100, 100);
    }
    void stoneFromTiles() {
        QFETCH(QRgb, image);
        QFETCH(QRgb, mask);
        QFETCH(QRgb, sprite);
        QImage im(2, 2, QImage::Format_RGB32);
        im.fill(image);
        QImage mk(2, 2, QImage::Format_RGB32);
        mk.fill(mask);
        const QImage s = frmSource::StoneFromTiles(im, mk);
        QCOMPARE(s.format(), QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(s.pixel(1, 1), sprite);
        QVERIFY(frmSource::StoneFromTiles(im, QImage(3, 3, QImage::Format_RGB32)).isNull());
    }
};

QTEST_MAIN(TestBoardDense)
#include "test_board_dense.moc"
