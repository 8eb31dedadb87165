// Board rendering: metrics and point mapping, the tile store, and the drawn
// pixels of grid, star points, stones and candidate marks.
#include "board/boardview.h"
#include "library/files.h"
#include "library/player.h"
#include "platform/recordingplatform.h"

#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QRgb kBoardWhite = qRgb(255, 255, 255);
const QRgb kInk = qRgb(0, 0, 0);
const QRgb kMark = qRgb(128, 0, 0);

// Test tiles that tell which tile landed where: the mask of index m is
// (255, 255 - 8m, 255), the image of index i is (8i, 0, 0). On the white
// board, AND then XOR gives (255 ^ 8i, 255 - 8m, 255).
void WriteTiles(const QString& folder) {
    QImage board(389, 389, QImage::Format_RGB32);
    board.fill(kBoardWhite);
    board.save(QDir(folder).filePath(QStringLiteral("board.bmp")), "BMP");
    for (int i = 0; i < 16; ++i) {
        const int edge = QStringView(StoneBitmapName(i)).mid(2, 2).toInt();
        QImage tile(edge, edge, QImage::Format_RGB32);
        tile.fill((i & 1) ? qRgb(255, 255 - 8 * i, 255) : qRgb(8 * i, 0, 0));
        tile.save(QDir(folder).filePath(StoneBitmapName(i)), "BMP");
    }
}

struct Landed {
    int mask = -1;
    int image = -1;
};

Landed TileAt(const QImage& img, int x, int y) {
    const QRgb c = img.pixel(x, y);
    const int mask = (255 - qGreen(c)) / 8;
    if (qBlue(c) != 255 || mask % 2 == 0) return {}; // not a tile pixel (masks have odd indices)
    return {mask, (255 ^ qRed(c)) / 8};
}

Board EmptyBoard() {
    Board b{};
    return b;
}

// A board widget whose inner drawing area is `inner` pixels square.
std::unique_ptr<BoardView> MakeView(int inner, BoardStyle style = {}) {
    auto v = std::make_unique<BoardView>(style);
    v->resize(inner + 2 * style.border, inner + 2 * style.border);
    return v;
}

} // namespace

class TestBoard : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        gDataPath = MakeDataPath(dir_.path());
        WriteTiles(dir_.path());
    }

    // ---- arithmetic -------------------------------------------------------------

    void nearestTiesToEven_data() {
        QTest::addColumn<double>("v");
        QTest::addColumn<int>("n");
        QTest::newRow("2.5") << 2.5 << 2;
        QTest::newRow("3.5") << 3.5 << 4;
        QTest::newRow("14.5") << 14.5 << 14;
        QTest::newRow("38.5") << 38.5 << 38;
        QTest::newRow("39.4") << 39.4 << 39;
        QTest::newRow("39.5") << 39.5 << 40;
        QTest::newRow("-2.5") << -2.5 << -2;
        QTest::newRow("-0.6") << -0.6 << -1;
        QTest::newRow("whole") << 7.0 << 7;
    }
    void nearestTiesToEven() {
        QFETCH(double, v);
        QFETCH(int, n);
        QCOMPARE(NearestEven(v), n);
    }

    void metrics_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("inner");
        QTest::addColumn<bool>("thumbnail");
        QTest::addColumn<int>("stone");
        QTest::addColumn<int>("line0");
        QTest::addColumn<int>("line18");
        QTest::addColumn<int>("cell1");
        QTest::newRow("19 lines, 381 px") << 19 << 381 << false << 20 << 10 << 370 << 20;
        QTest::newRow("13 lines, 381 px") << 13 << 381 << false << 29 << 14 << 536 << 29;
        QTest::newRow("19 lines, 385 px") << 19 << 385 << false << 20 << 10 << 370 << 20;
        QTest::newRow("13 lines, 385 px rounds up") << 13 << 385 << false << 30 << 15 << 555 << 29;
        QTest::newRow("9 lines, 100 px") << 9 << 100 << false << 11 << 6 << 204 << 11;
        QTest::newRow("thumbnail truncates") << 7 << 100 << true << 14 << 7 << 259 << 14;
        QTest::newRow("thumbnail 9 lines") << 9 << 100 << true << 11 << 6 << 204 << 11;
    }
    void metrics() {
        QFETCH(int, lines);
        QFETCH(int, inner);
        QFETCH(bool, thumbnail);
        QFETCH(int, stone);
        QFETCH(int, line0);
        QFETCH(int, line18);
        QFETCH(int, cell1);
        const BoardMetrics m = InitBoardMetrics(lines, inner, inner, thumbnail);
        QCOMPARE(int(m.gBoardLines), lines);
        QCOMPARE(int(m.gStoneSize), stone);
        QCOMPARE(int(m.gBoardW), inner);
        QCOMPARE(PointToPixel(m, 0), line0);
        QCOMPARE(PointToPixel(m, 18), line18);
        QCOMPARE(CellOriginX(m, 1), cell1);
        QCOMPARE(CellOriginY(m, 1), cell1);
    }

    void cellOriginUsesEachAxis() {
        const BoardMetrics m = InitBoardMetrics(19, 381, 200);
        QCOMPARE(CellOriginX(m, 2), 40);
        QCOMPARE(CellOriginY(m, 2), 20); // 200 \ 19 = 10
    }

    void outOfRangeLineCountsAreClamped() {
        QCOMPARE(int(InitBoardMetrics(0, 381, 381).gBoardLines), 1);
        QCOMPARE(int(InitBoardMetrics(25, 381, 381).gBoardLines), 19);
    }

    void pressRounding_data() {
        QTest::addColumn<double>("p");
        QTest::addColumn<int>("point");
        QTest::newRow("39.4 -> 1") << 39.4 << 1;
        QTest::newRow("39.5 -> 2") << 39.5 << 2;
        QTest::newRow("38.5 -> 1") << 38.5 << 1;
        QTest::newRow("0 -> 0") << 0.0 << 0;
        QTest::newRow("last pixel of 381 -> 19") << 380.0 << 19;
        QTest::newRow("379.4 -> 18") << 379.4 << 18;
    }
    void pressRounding() {
        QFETCH(double, p);
        QFETCH(int, point);
        const BoardMetrics m = InitBoardMetrics(19, 381, 381);
        QCOMPARE(PixelToPoint(m, p), point);
    }

    // ---- tile store ------------------------------------------------------------

    void tileStoreLoadsOnFirstDraw() {
        frmSource::Unload();
        QVERIFY(!frmSource::IsLoaded());
        QVERIFY(frmSource::Tile(0).isNull());
        auto v = MakeView(381);
        v->InitBoardMetrics(19);
        v->DrawBoard(EmptyBoard());
        QVERIFY(frmSource::IsLoaded());
        QCOMPARE(frmSource::Tile(7).size(), QSize(20, 20));
        QCOMPARE(frmSource::Tile(13).size(), QSize(9, 9));
        QVERIFY(frmSource::Tile(16).isNull());
        QVERIFY(frmSource::Tile(-1).isNull());
        frmSource::Unload();
        QVERIFY(!frmSource::IsLoaded());
    }

    void missingTileIsFatalAndNamed() {
        QTemporaryDir other;
        WriteTiles(other.path());
        QFile::remove(QDir(other.path()).filePath(QStringLiteral("Wh09Rev.bmp")));
        const QString saved = gDataPath;
        gDataPath = MakeDataPath(other.path());
        frmSource::Unload();
        QString error;
        QVERIFY(!frmSource::Load(&error));
        QVERIFY(error.contains(QStringLiteral("Wh09Rev.bmp")));
        QVERIFY(!frmSource::IsLoaded());
        {
            ScopedRecordingPlatform rec;
            auto v = MakeView(381);
            v->InitBoardMetrics(19);
            QVERIFY_THROWS_EXCEPTION(ProgramAborted, v->DrawBoard(EmptyBoard()));
            QCOMPARE(rec.platform.boxes.size(), 1);
            QVERIFY(rec.platform.boxes.first().contains(QStringLiteral("Wh09Rev.bmp")));
        }
        gDataPath = saved;
    }

    // ---- drawn pixels ----------------------------------------------------------

    void gridLinesOfNineteen() {
        auto v = MakeView(381);
        QCOMPARE(v->innerSize(), QSize(381, 381));
        v->InitBoardMetrics(19);
        v->DrawBoard(EmptyBoard());
        const QImage& img = v->image();
        // Line 0: two pixels wide at 10 and 11, from 10 down to 370 (+1 row of
        // the last horizontal line).
        QCOMPARE(img.pixel(10, 100), kInk);
        QCOMPARE(img.pixel(11, 100), kInk);
        QCOMPARE(img.pixel(9, 100), kBoardWhite);
        QCOMPARE(img.pixel(12, 100), kBoardWhite);
        QCOMPARE(img.pixel(10, 9), kBoardWhite);
        QCOMPARE(img.pixel(10, 371), kInk);
        QCOMPARE(img.pixel(10, 372), kBoardWhite);
        QCOMPARE(img.pixel(100, 370), kInk);
        QCOMPARE(img.pixel(372, 370), kBoardWhite);
        QCOMPARE(img.pixel(0, 0), kBoardWhite);
    }

    void starPointsAreCentredDiscs() {
        auto v = MakeView(381);
        v->InitBoardMetrics(19);
        v->DrawBoard(EmptyBoard());
        const QImage& img = v->image();
        for (int s : {3, 9, 15}) {
            const int c = PointToPixel(v->metrics(), s);
            // Radius 3 around the middle of the two-pixel lines, away from them.
            QCOMPARE(img.pixel(c - 1, c - 2), kInk);
            QCOMPARE(img.pixel(c - 1, c - 3), kBoardWhite);
            QCOMPARE(img.pixel(c + 2, c + 3), kInk);
            QCOMPARE(img.pixel(c + 2, c + 4), kBoardWhite);
            QCOMPARE(img.pixel(c - 2, c - 1), kInk);
            QCOMPARE(img.pixel(c - 3, c - 1), kBoardWhite);
        }
    }

    void thirteenLinesRunOffTheEdges() {
        auto v = MakeView(381);
        v->InitBoardMetrics(13);
        v->DrawBoard(EmptyBoard());
        const QImage& img = v->image();
        const BoardMetrics& m = v->metrics();
        QCOMPARE(int(m.gStoneSize), 29);
        QCOMPARE(PointToPixel(m, 0), 14);
        QCOMPARE(img.pixel(14, 200), kInk);
        QCOMPARE(img.pixel(13, 200), kBoardWhite);
        // Lines run to the last pixel, because line 18 lies at 536.
        QCOMPARE(img.pixel(PointToPixel(m, 5), 380), kInk);
        QCOMPARE(img.pixel(380, PointToPixel(m, 5)), kInk);
        // Only 13 lines: nothing where line 13 would be (391 is outside anyway,
        // but between line 12 and the edge the board is bare).
        QCOMPARE(img.pixel(PointToPixel(m, 12) + 3, 200), kBoardWhite);
        // Star points at 3 and 9 are visible.
        for (int s : {3, 9}) {
            const int c = PointToPixel(m, s);
            QCOMPARE(img.pixel(c - 1, c - 2), kInk);
        }
    }

    void stoneAtOriginLandsAtTileOffset_data() {
        QTest::addColumn<int>("offset");
        QTest::newRow("review and picker: 0") << 0;
        QTest::newRow("learn and view: 1") << 1;
        QTest::newRow("trial: 2") << 2;
    }
    void stoneAtOriginLandsAtTileOffset() {
        QFETCH(int, offset);
        BoardStyle style;
        style.tileOffset = offset;
        auto v = MakeView(381, style);
        v->InitBoardMetrics(19);
        Board b = EmptyBoard();
        b[0] = kBlack;
        v->DrawBoard(b);
        const QImage& img = v->image();
        const Landed first = TileAt(img, offset, offset);
        QCOMPARE(first.mask, 5); // 20 px black: mask 5, image 4
        QCOMPARE(first.image, 4);
        const Landed last = TileAt(img, offset + 19, offset + 19);
        QCOMPARE(last.mask, 5);
        if (offset > 0) QCOMPARE(img.pixel(offset - 1, offset - 1), kBoardWhite);
        QCOMPARE(img.pixel(offset + 20, offset + 20), kBoardWhite);
    }

    void tileIndicesPerSizeAndColour_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("inner");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("image");
        QTest::newRow("white, 20 px") << 19 << 381 << 2 << 7 << 6;
        QTest::newRow("black, 20 px") << 19 << 381 << 1 << 5 << 4;
        QTest::newRow("black, 29 px") << 13 << 381 << 1 << 1 << 0;
        QTest::newRow("white, 29 px") << 13 << 381 << 2 << 3 << 2;
        QTest::newRow("white, 11 px") << 19 << 209 << 2 << 11 << 10;
        QTest::newRow("black, 9 px") << 19 << 171 << 1 << 13 << 12;
        QTest::newRow("odd size uses 29 px tiles") << 15 << 381 << 2 << 3 << 2;
        QTest::newRow("other states draw black") << 19 << 381 << 3 << 5 << 4;
    }
    void tileIndicesPerSizeAndColour() {
        QFETCH(int, lines);
        QFETCH(int, inner);
        QFETCH(int, state);
        QFETCH(int, mask);
        QFETCH(int, image);
        BoardStyle style;
        style.tileOffset = 0;
        auto v = MakeView(inner, style);
        v->InitBoardMetrics(lines);
        Board b = EmptyBoard();
        b[2 * 19 + 2] = int16_t(state);
        v->DrawBoard(b);
        const int x = CellOriginX(v->metrics(), 2);
        const int y = CellOriginY(v->metrics(), 2);
        const Landed got = TileAt(v->image(), x, y);
        QCOMPARE(got.mask, mask);
        QCOMPARE(got.image, image);
    }

    // Views whose cell has no tile set of its size (foreign data only): the
    // 29-pixel tiles are centred on the point, not left in the cell's corner
    // (with 11 lines the cell origins, 34 px apart, drift off 35 px points).
    void tileWithoutItsSetIsCentred_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("point");
        QTest::newRow("9 lines, 42 px cells, corner") << 9 << 1 << 0;
        QTest::newRow("9 lines, 42 px cells, middle") << 9 << 1 << 4;
        QTest::newRow("9 lines, trial offset") << 9 << 2 << 8;
        QTest::newRow("11 lines, 35 px cells") << 11 << 0 << 9;
        QTest::newRow("15 lines, 25 px cells (tile larger)") << 15 << 1 << 7;
        QTest::newRow("13 lines keeps its own tiles") << 13 << 1 << 6;
        QTest::newRow("19 lines keeps its own tiles") << 19 << 1 << 18;
    }
    void tileWithoutItsSetIsCentred() {
        QFETCH(int, lines);
        QFETCH(int, offset);
        QFETCH(int, point);
        BoardStyle style;
        style.tileOffset = offset;
        auto v = MakeView(381, style);
        v->InitBoardMetrics(lines);
        const BoardMetrics& m = v->metrics();
        Board b = EmptyBoard();
        b[size_t(point * 19 + point)] = kWhite;
        v->DrawBoard(b);
        const QImage& img = v->image();
        const int centre = PointToPixel(m, point);
        // The run of tile pixels along a row and a column just beside the grid
        // lines through the point (the lines themselves are ink under a tile).
        const int beside = centre + 4;
        int first = -1, last = -1, top = -1, bottom = -1;
        for (int p = 0; p < img.width(); ++p) {
            if (TileAt(img, p, beside).mask >= 0) {
                if (first < 0) first = p;
                last = p;
            }
            if (TileAt(img, beside, p).mask >= 0) {
                if (top < 0) top = p;
                bottom = p;
            }
        }
        const int tile = StoneTileSize(m.gStoneSize);
        QCOMPARE(TileAt(img, beside, beside).mask, StoneBitmapIndex(m.gStoneSize, kWhite, 1));
        QCOMPARE(last - first + 1, tile);
        QCOMPARE(bottom - top + 1, tile);
        QVERIFY2(std::abs((first + last) / 2 - centre) <= std::max(1, offset),
                 qPrintable(
                     QStringLiteral("tile %1..%2, point at %3").arg(first).arg(last).arg(centre)));
        QVERIFY(std::abs((top + bottom) / 2 - centre) <= std::max(1, offset));
        if (tile == m.gStoneSize) {
            // A size with its own set: copied at the cell origin plus the offset.
            QCOMPARE(first, CellOriginX(m, point) + offset);
            QCOMPARE(top, CellOriginY(m, point) + offset);
        }
    }

    void stonesBeyondShownLinesAreNotDrawn() {
        BoardStyle style;
        style.tileOffset = 0;
        auto v = MakeView(381, style);
        v->InitBoardMetrics(9);
        Board b = EmptyBoard();
        b[10 * 19 + 1] = kWhite; // row 10 of a 9-line problem
        b[1 * 19 + 10] = kWhite; // column 10
        v->DrawBoard(b);
        for (int y = 0; y < 381; y += 7)
            for (int x = 0; x < 381; x += 7)
                QVERIFY(TileAt(v->image(), x, y).mask < 0);
    }

    void realMaskAndImageKeepTheBoard() {
        // A proper tile pair: a disc in the middle; the board shows around it.
        QTemporaryDir other;
        WriteTiles(other.path());
        QImage mask(20, 20, QImage::Format_RGB32), stone(20, 20, QImage::Format_RGB32);
        mask.fill(kBoardWhite);
        stone.fill(kInk);
        for (int y = 5; y < 15; ++y)
            for (int x = 5; x < 15; ++x) {
                mask.setPixel(x, y, kInk);
                stone.setPixel(x, y, qRgb(30, 30, 30));
            }
        mask.save(QDir(other.path()).filePath(QStringLiteral("Bl20Rev.bmp")), "BMP");
        stone.save(QDir(other.path()).filePath(QStringLiteral("Bl20Nrm.bmp")), "BMP");
        QImage wood(389, 389, QImage::Format_RGB32);
        wood.fill(qRgb(210, 170, 100));
        wood.save(QDir(other.path()).filePath(QStringLiteral("board.bmp")), "BMP");
        const QString saved = gDataPath;
        gDataPath = MakeDataPath(other.path());
        frmSource::Unload();
        BoardStyle style;
        style.tileOffset = 0;
        auto v = MakeView(381, style);
        v->InitBoardMetrics(19);
        Board b = EmptyBoard();
        b[19 * 5 + 5] = kBlack;
        v->DrawBoard(b);
        const QImage& img = v->image();
        QCOMPARE(img.pixel(100 + 8, 100 + 8), qRgb(30, 30, 30));           // stone
        QCOMPARE(img.pixel(100 + 1, 100 + 1), qRgb(210, 170, 100));        // board around it
        QCOMPARE(img.pixel(PointToPixel(v->metrics(), 5), 100 + 2), kInk); // grid shows
        frmSource::Unload();
        gDataPath = saved;
    }

    void candidateMarksAndRedraw() {
        auto v = MakeView(381);
        v->InitBoardMetrics(19);
        v->DrawBoard(EmptyBoard());
        const QImage before = v->image();
        v->DrawCandidateMark(5, 5, 0);
        // The circle: radius 8 for 20-pixel stones, pen 3, around (c + 1, c + 1).
        const int c = PointToPixel(v->metrics(), 5);
        QRect box;
        const QImage& img = v->image();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) == kMark) box |= QRect(x, y, 1, 1);
        QVERIFY(!box.isEmpty());
        QVERIFY2(box.width() >= 17 && box.width() <= 21, qPrintable(QString::number(box.width())));
        QVERIFY(qAbs(box.center().x() - (c + 1)) <= 1);
        QVERIFY(qAbs(box.center().y() - (c + 1)) <= 1);
        QVERIFY(img.pixel(c + 1, c + 1) != kMark); // a ring, not a disc

        v->DrawCandidateMark(10, 10, 1);
        const int c10 = PointToPixel(v->metrics(), 10);
        QCOMPARE(img.pixel(c10 - 5, c10 - 5), kMark); // on the cross's diagonal

        const QImage marked = v->image();
        v->DrawCandidateMark(12, 12, 7); // unknown kinds draw nothing
        QCOMPARE(v->image(), marked);

        v->DrawBoard(EmptyBoard());
        QCOMPARE(v->image(), before); // the redraw removed every mark
    }

    void thumbnailHasThinLinesAndSmallStars() {
        BoardStyle style;
        style.tileOffset = 0;
        style.thumbnail = true;
        style.border = 0;
        auto v = MakeView(100, style);
        v->InitBoardMetrics(9);
        v->DrawBoard(EmptyBoard());
        const QImage& img = v->image();
        const BoardMetrics& m = v->metrics();
        QCOMPARE(int(m.gStoneSize), 11);
        const int t = PointToPixel(m, 0);
        QCOMPARE(t, 6);
        QCOMPARE(img.pixel(t, 45), kInk);
        QCOMPARE(img.pixel(t + 1, 45), kBoardWhite); // one pixel wide
        QCOMPARE(img.pixel(t - 1, 45), kBoardWhite);
        QCOMPARE(img.pixel(45, t), kInk);
        QCOMPARE(img.pixel(45, t + 1), kBoardWhite);
        // Radius 2 around (c + 1, c + 1): (c - 1, c + 1) is in, (c - 2, c + 1) is out.
        const int c = PointToPixel(m, 3);
        QCOMPARE(img.pixel(c - 1, c + 1), kInk);
        QCOMPARE(img.pixel(c - 2, c + 1), kBoardWhite);
        QCOMPARE(img.pixel(c - 1, c - 1), kBoardWhite);
    }

    // ---- presses and painting -------------------------------------------------

    void pressesMapToPoints() {
        ScopedRecordingPlatform rec;
        auto v = MakeView(381); // frame of 2 pixels
        v->InitBoardMetrics(19);
        QSignalSpy spy(v.get(), &BoardView::boardPressed);
        QTest::mousePress(v.get(), Qt::LeftButton, {}, QPoint(2 + 39, 2 + 60));
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy[0], (QList<QVariant>{1, 3, 1}));
        QTest::mouseRelease(v.get(), Qt::LeftButton, {}, QPoint(2 + 39, 2 + 60));

        QTest::mousePress(v.get(), Qt::RightButton, {}, QPoint(2 + 370, 2 + 5));
        QCOMPARE(spy.size(), 2);
        QCOMPARE(spy[1], (QList<QVariant>{18, 0, 2}));
        QTest::mouseRelease(v.get(), Qt::RightButton, {}, QPoint(2 + 370, 2 + 5));

        // Both buttons held: the window sees both bits and takes the left action.
        QMouseEvent both(QEvent::MouseButtonPress, QPointF(2 + 100, 2 + 100),
                         v->mapToGlobal(QPointF(102, 102)), Qt::RightButton,
                         Qt::LeftButton | Qt::RightButton, Qt::NoModifier);
        QCoreApplication::sendEvent(v.get(), &both);
        QCOMPARE(spy.size(), 3);
        QCOMPARE(spy[2], (QList<QVariant>{5, 5, 3}));
        QCOMPARE(rec.platform.beeps, 0);
    }

    // Presses outside the drawn lines reach the window as (-1, -1); the window
    // decides whether that beeps. A 9-line view on 381 pixels draws 9 x 42
    // pixels and leaves a 3-pixel strip at the right and bottom.
    void pressesOutsideTheDrawnLines_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<QPoint>("point");
        QTest::newRow("19: last pixel column maps to 19")
            << 19 << QPoint(2 + 380, 100) << QPoint(-1, -1);
        QTest::newRow("19: last pixel row maps to 19")
            << 19 << QPoint(100, 2 + 380) << QPoint(-1, -1);
        QTest::newRow("19: left frame") << 19 << QPoint(0, 100) << QPoint(-1, -1);
        QTest::newRow("19: top frame") << 19 << QPoint(100, 1) << QPoint(-1, -1);
        QTest::newRow("19: right frame") << 19 << QPoint(2 + 381, 100) << QPoint(-1, -1);
        QTest::newRow("19: bottom frame") << 19 << QPoint(100, 2 + 382) << QPoint(-1, -1);
        QTest::newRow("19: last drawn pixel") << 19 << QPoint(2 + 379, 2 + 379) << QPoint(18, 18);
        QTest::newRow("9: strip past line 8") << 9 << QPoint(2 + 378, 100) << QPoint(-1, -1);
        QTest::newRow("9: strip below line 8") << 9 << QPoint(100, 2 + 380) << QPoint(-1, -1);
        QTest::newRow("9: bottom frame") << 9 << QPoint(100, 2 + 381) << QPoint(-1, -1);
        QTest::newRow("9: last drawn pixel") << 9 << QPoint(2 + 377, 2 + 377) << QPoint(8, 8);
        QTest::newRow("9: first pixel") << 9 << QPoint(2, 2) << QPoint(0, 0);
    }
    void pressesOutsideTheDrawnLines() {
        QFETCH(int, lines);
        QFETCH(QPoint, pos);
        QFETCH(QPoint, point);
        ScopedRecordingPlatform rec;
        auto v = MakeView(381);
        v->InitBoardMetrics(lines);
        QSignalSpy spy(v.get(), &BoardView::boardPressed);
        QTest::mousePress(v.get(), Qt::LeftButton, {}, pos);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy[0], (QList<QVariant>{point.x(), point.y(), 1}));
        QCOMPARE(rec.platform.beeps, 0);
        QTest::mouseRelease(v.get(), Qt::LeftButton, {}, pos);
        QCOMPARE(PressedPoint(v->metrics(), v->innerSize(), QPointF(pos - QPoint(2, 2))), point);
        QCOMPARE(IsShownPoint(v->metrics(), point.x(), point.y()), point.x() >= 0);
    }

    void surfaceKeepsItsImageWhenRepainted() {
        auto v = MakeView(381);
        v->InitBoardMetrics(19);
        Board b = EmptyBoard();
        b[3 * 19 + 3] = kWhite;
        v->DrawBoard(b);
        v->DrawCandidateMark(9, 9, 0);
        v->show();
        for (int i = 0; i < 2; ++i) { // painted, then uncovered and painted again
            const QImage shot = v->grab().toImage().convertToFormat(QImage::Format_RGB32);
            QCOMPARE(shot.copy(2, 2, 381, 381), v->image());
            v->hide();
            v->show();
        }
        QCOMPARE(v->accessibleName(), QStringLiteral("碁盤"));
        QCOMPARE(v->objectName(), QStringLiteral("picBoard"));
    }

    void keyboardCursorPlaysOnShownLines() {
        ScopedRecordingPlatform rec;
        auto v = MakeView(381);
        v->InitBoardMetrics(13); // a view of 13 lines: the cursor stays on them
        v->DrawBoard(EmptyBoard());
        v->EnableKeyboard(true);
        QCOMPARE(v->focusPolicy(), Qt::TabFocus); // a click leaves the window's keys alone
        v->show();
        v->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(v.get()));
        v->setFocus();
        QVERIFY(v->hasFocus());
        QCOMPARE(v->cursorPoint(), QPoint(6, 6)); // starts in the middle
        QSignalSpy spy(v.get(), &BoardView::boardPressed);
        QTest::keyClick(v.get(), Qt::Key_Left);
        QTest::keyClick(v.get(), Qt::Key_Up);
        QTest::keyClick(v.get(), Qt::Key_Up);
        QCOMPARE(v->cursorPoint(), QPoint(5, 4));
        QTest::keyClick(v.get(), Qt::Key_Space);
        QTest::keyClick(v.get(), Qt::Key_Return);
        QCOMPARE(spy.size(), 2);
        QCOMPARE(spy[0], (QList<QVariant>{5, 4, 1}));
        for (int i = 0; i < 20; ++i) {
            QTest::keyClick(v.get(), Qt::Key_Right);
            QTest::keyClick(v.get(), Qt::Key_Down);
        }
        QCOMPARE(v->cursorPoint(), QPoint(12, 12)); // never past the last shown line
        // The cursor is drawn over the surface while the board has the focus,
        // and never into the picture itself.
        const QImage focused = v->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY(focused.copy(2, 2, 381, 381) != v->image());
        QCOMPARE(rec.platform.beeps, 0);
        v->EnableKeyboard(false);
        QTest::keyClick(v.get(), Qt::Key_Space);
        QCOMPARE(spy.size(), 2); // no keyboard play when it is off
    }
};

QTEST_MAIN(TestBoard)
#include "test_board.moc"
