// The program's own BMP reader: the same pixels as Qt's general reader for
// every layout we write, cut pictures, and clear failures on broken files.
#include "library/files.h"
#include "platform/bitmap.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {

// A picture with a different colour in every pixel.
QImage Pattern(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y,
                           qRgb((x * 37 + y) & 255, (y * 53 + x * 3) & 255, (x ^ y) * 7 & 255));
    return image;
}

QByteArray QtBmp(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// A 32-bit BMP written by hand; `topDown` stores the first row first.
QByteArray Bmp32(const QImage& image, bool topDown) {
    const int w = image.width();
    const int h = image.height();
    QByteArray b(54 + w * h * 4, '\0');
    auto put32 = [&b](int at, quint32 v) { qToLittleEndian(v, b.data() + at); };
    auto put16 = [&b](int at, quint16 v) { qToLittleEndian(v, b.data() + at); };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, quint32(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, quint32(w));
    put32(22, quint32(topDown ? -h : h));
    put16(26, 1);
    put16(28, 32);
    for (int r = 0; r < h; ++r) {
        const int y = topDown ? r : h - 1 - r;
        for (int x = 0; x < w; ++x) {
            const QRgb p = image.pixel(x, y);
            char* d = b.data() + 54 + (r * w + x) * 4;
            d[0] = char(qBlue(p));
            d[1] = char(qGreen(p));
            d[2] = char(qRed(p));
            d[3] = char(0x5a); // unused byte, not alpha
        }
    }
    return b;
}

bool SameRgb(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xffffff) != (b.pixel(x, y) & 0xffffff)) return false;
    return true;
}

} // namespace

class TestBitmap : public QObject {
    Q_OBJECT
private slots:
    void decodesLikeQt_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QImage>("expected");
        QTest::addColumn<QSize>("limit");
        const QImage odd = Pattern(41, 29); // rows padded to 124 bytes
        const QImage wide = Pattern(389, 7);
        QTest::newRow("24-bit, padded rows") << QtBmp(odd) << odd << QSize();
        QTest::newRow("24-bit, one pixel") << QtBmp(Pattern(1, 1)) << Pattern(1, 1) << QSize();
        QTest::newRow("24-bit, wider than a chunk row") << QtBmp(wide) << wide << QSize();
        // Rows are converted four pixels at a time: every remainder.
        for (int w : {4, 42, 43, 44})
            QTest::addRow("24-bit, %d wide", w) << QtBmp(Pattern(w, 3)) << Pattern(w, 3) << QSize();
        QTest::newRow("32-bit bottom-up") << Bmp32(odd, false) << odd << QSize();
        QTest::newRow("32-bit top-down") << Bmp32(odd, true) << odd << QSize();
        QTest::newRow("cut, bottom-up") << QtBmp(odd) << odd.copy(0, 0, 20, 10) << QSize(20, 10);
        QTest::newRow("cut, top-down") << Bmp32(odd, true) << odd.copy(0, 0, 40, 3) << QSize(40, 3);
        QTest::newRow("limit larger than picture") << QtBmp(odd) << odd << QSize(800, 600);
    }
    void decodesLikeQt() {
        QFETCH(QByteArray, bytes);
        QFETCH(QImage, expected);
        QFETCH(QSize, limit);
        const QImage fromBytes = DecodeBitmap(bytes, limit);
        QCOMPARE(fromBytes.format(), QImage::Format_RGB32);
        QVERIFY(SameRgb(fromBytes, expected));

        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("p.bmp")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        const QImage fromFile = ReadBitmap(f.fileName(), limit);
        QVERIFY(SameRgb(fromFile, expected));
        if (!limit.isValid()) QCOMPARE(BitmapSize(f.fileName()), expected.size());
    }

    void brokenFilesGiveNoPicture_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = QtBmp(Pattern(9, 9));
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not a picture") << QByteArray("hello, this is not a bitmap at all......");
        QTest::newRow("pixels cut short") << good.left(good.size() - 10);
        QTest::newRow("header only") << good.left(54);
        QByteArray huge = good;
        qToLittleEndian<quint32>(100000, huge.data() + 18); // claims a 100000-pixel width
        QTest::newRow("size beyond the file") << huge;
    }
    void brokenFilesGiveNoPicture() {
        QFETCH(QByteArray, bytes);
        QVERIFY(DecodeBitmap(bytes).isNull());
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("b.bmp")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        QVERIFY(ReadBitmap(f.fileName()).isNull());
        QVERIFY(ReadBitmap(dir.filePath(QStringLiteral("missing.bmp"))).isNull());
    }

    // Other layouts (here a paletted file) go through Qt's reader.
    void otherLayoutsFallBack() {
        QTemporaryDir dir;
        const QImage indexed = Pattern(16, 8).convertToFormat(QImage::Format_Indexed8);
        const QString path = dir.filePath(QStringLiteral("i.bmp"));
        QVERIFY(indexed.save(path, "BMP"));
        QVERIFY(DecodeBitmap(QtBmp(indexed)).isNull());
        QVERIFY(SameRgb(ReadBitmap(path), indexed.convertToFormat(QImage::Format_RGB32)));
    }

    // At a device pixel ratio above 1 the @2x file is taken (any letter case),
    // else the plain one; a missing @2x file falls back to the plain one.
    void doubleDensityPictures() {
        QCOMPARE(DoubleDensityName(QStringLiteral("board.bmp")), QStringLiteral("board@2x.bmp"));
        QCOMPARE(DoubleDensityName(QStringLiteral("Bl20Nrm.bmp")),
                 QStringLiteral("Bl20Nrm@2x.bmp"));
        QTemporaryDir dir;
        const QString saved = gDataPath;
        gDataPath = MakeDataPath(dir.path());
        QVERIFY(Pattern(4, 3).save(dir.filePath(QStringLiteral("tile.bmp")), "BMP"));
        QVERIFY(Pattern(8, 6).save(dir.filePath(QStringLiteral("TILE@2X.BMP")), "BMP"));
        QVERIFY(Pattern(5, 5).save(dir.filePath(QStringLiteral("only.bmp")), "BMP"));
        const QImage one = ReadDataPicture(QStringLiteral("tile.bmp"), 1.0);
        const QImage two = ReadDataPicture(QStringLiteral("tile.bmp"), 1.5);
        const QImage plain = ReadDataPicture(QStringLiteral("only.bmp"), 2.0);
        gDataPath = saved;
        QCOMPARE(one.size(), QSize(4, 3));
        QCOMPARE(one.devicePixelRatio(), 1.0);
        QCOMPARE(two.size(), QSize(8, 6));
        QCOMPARE(two.devicePixelRatio(), 2.0);
        QCOMPARE(two.deviceIndependentSize(), QSizeF(4, 3));
        QCOMPARE(plain.size(), QSize(5, 5));
        QCOMPARE(plain.devicePixelRatio(), 1.0);
    }
};

QTEST_GUILESS_MAIN(TestBitmap)
#include "test_bitmap.moc"
