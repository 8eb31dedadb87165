// The pictures and sounds in the program folder: every file the program
// names is there and loads, the stone tiles draw cleanly with AND and XOR,
// and the generator reproduces the same files.
#include "library/player.h"
#include "sounds.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <cmath>

namespace {

const QString kDist = QStringLiteral(VELMORA_DIST_DIR);

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QImage Load(const QString& name) {
    return QImage(QDir(kDist).filePath(name));
}

QStringList ButtonNames() {
    QStringList names = {"quest000.bmp", "quest001.bmp", "1Prev000.bmp",
                         "1Prev002.bmp", "ToRoo000.bmp", "ToRoo002.bmp"};
    for (const char* b : {"toroo", "1prev", "playi", "tobot", "1forw", "stopi"})
        names << QString(b) + "000.bmp" << QString(b) + "002.bmp";
    return names;
}

QStringList AllNames() {
    QStringList names = {"board.bmp", "sakura.bmp",  "keiryu.bmp",  "marble.bmp",
                         "kaede.bmp", "sekitei.bmp", "yuuyake.bmp", "stone.wav"};
    for (int i = 0; i < 16; ++i)
        names << StoneBitmapName(i);
    names << ButtonNames() << art::CountdownNames();
    for (int s : {16, 24, 32, 48, 64, 128, 256})
        names << QString("velmora-%1.png").arg(s);
    return names;
}

int TileEdge(int index) {
    static const int edges[] = {29, 20, 11, 9};
    return edges[index / 4];
}

// The program's drawing: AND with the mask, then XOR with the image.
void DrawStone(QImage& surface, int index, int left, int top) {
    QPainter p(&surface);
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(left, top, Load(StoneBitmapName(index | 1)));
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.drawImage(left, top, Load(StoneBitmapName(index & ~1)));
}

double Luma(QRgb c) {
    return 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c);
}

} // namespace

class TestAssets : public QObject {
    Q_OBJECT
private slots:
    void bitmaps_data();
    void bitmaps();
    void sounds_data();
    void sounds();
    void tileSemantics_data();
    void tileSemantics();
    void stonesOnBoard_data();
    void stonesOnBoard();
    void smallStonesStandOut();
    void parseWavRejectsDamage_data();
    void parseWavRejectsDamage();
    void regenerationIsIdentical();
    void voiceClipsReproducible();
};

void TestAssets::bitmaps_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("minW");
    QTest::addColumn<int>("minH");
    QTest::addColumn<bool>("exact");
    QTest::newRow("board.bmp") << "board.bmp" << 389 << 389 << false;
    for (const char* b :
         {"sakura.bmp", "keiryu.bmp", "marble.bmp", "kaede.bmp", "sekitei.bmp", "yuuyake.bmp"})
        QTest::newRow(b) << QString(b) << 640 << 480 << false;
    for (int i = 0; i < 16; ++i) {
        const QString n = StoneBitmapName(i);
        QTest::newRow(qPrintable(n)) << n << TileEdge(i) << TileEdge(i) << true;
    }
    for (const QString& n : ButtonNames())
        QTest::newRow(qPrintable(n)) << n << 41 << 29 << true;
}

void TestAssets::bitmaps() {
    QFETCH(QString, name);
    QFETCH(int, minW);
    QFETCH(int, minH);
    QFETCH(bool, exact);
    const QByteArray bytes = ReadAll(QDir(kDist).filePath(name));
    QVERIFY2(bytes.size() > 54, qPrintable(name + " is missing or empty"));
    QCOMPARE(bytes.left(2), QByteArray("BM"));
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    QCOMPARE(qFromLittleEndian<quint16>(p + 28), quint16(24)); // bits per pixel
    QCOMPARE(qFromLittleEndian<quint32>(p + 30), quint32(0));  // uncompressed
    QImage img;
    QVERIFY(img.loadFromData(bytes, "BMP"));
    if (exact) {
        QCOMPARE(img.width(), minW);
        QCOMPARE(img.height(), minH);
    } else {
        QVERIFY(img.width() >= minW && img.height() >= minH);
    }
}

void TestAssets::sounds_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("minSec");
    QTest::addColumn<double>("maxSec");
    QTest::newRow("stone.wav") << "stone.wav" << 0.05 << 0.3;
    for (const QString& n : art::CountdownNames()) {
        // The last five play a second apart and must not run into each other.
        const bool lastSeconds = n.startsWith("sec0");
        QTest::newRow(qPrintable(n)) << n << 0.2 << (lastSeconds ? 0.95 : 4.0);
    }
}

void TestAssets::sounds() {
    QFETCH(QString, name);
    QFETCH(double, minSec);
    QFETCH(double, maxSec);
    const QByteArray bytes = ReadAll(QDir(kDist).filePath(name));
    QVERIFY2(bytes.size() > 44, qPrintable(name + " is missing or empty"));
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    QCOMPARE(bytes.left(4), QByteArray("RIFF"));
    QCOMPARE(qFromLittleEndian<quint32>(p + 4), quint32(bytes.size() - 8));
    QCOMPARE(bytes.mid(8, 8), QByteArray("WAVEfmt "));
    QCOMPARE(qFromLittleEndian<quint16>(p + 20), quint16(1)); // PCM
    const int channels = qFromLittleEndian<quint16>(p + 22);
    const int rate = int(qFromLittleEndian<quint32>(p + 24));
    const int bits = qFromLittleEndian<quint16>(p + 34);
    QCOMPARE(channels, 1);
    QCOMPARE(bits, 16);
    QVERIFY(rate >= 8000 && rate <= 48000);
    QCOMPARE(qFromLittleEndian<quint32>(p + 28), quint32(rate * 2));
    QCOMPARE(bytes.mid(36, 4), QByteArray("data"));
    QCOMPARE(qFromLittleEndian<quint32>(p + 40), quint32(bytes.size() - 44));

    const std::optional<art::Pcm> pcm = art::ParseWav(bytes);
    QVERIFY(pcm);
    const double secs = pcm->seconds();
    QVERIFY2(secs >= minSec && secs <= maxSec, qPrintable(QString::number(secs)));
    double peak = 0;
    for (float s : pcm->samples)
        peak = std::max(peak, double(std::abs(s)));
    QVERIFY2(peak > 0.5 && peak < 1.0, qPrintable(QString::number(peak))); // audible, unclipped
    // It dies away instead of stopping with a click.
    const size_t tail = size_t(0.005 * pcm->rate);
    for (size_t i = pcm->samples.size() - tail; i < pcm->samples.size(); ++i)
        QVERIFY(std::abs(pcm->samples[i]) < 0.02);
}

void TestAssets::tileSemantics_data() {
    QTest::addColumn<int>("image");
    for (int i = 0; i < 16; i += 2)
        QTest::newRow(qPrintable(StoneBitmapName(i))) << i;
}

void TestAssets::tileSemantics() {
    QFETCH(int, image);
    const QImage img = Load(StoneBitmapName(image)).convertToFormat(QImage::Format_RGB32);
    const QImage mask = Load(StoneBitmapName(image + 1)).convertToFormat(QImage::Format_RGB32);
    const int n = TileEdge(image);
    QCOMPARE(img.size(), QSize(n, n));
    QCOMPARE(mask.size(), QSize(n, n));
    int covered = 0;
    double lumaSum = 0;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const QRgb m = mask.pixel(x, y) & 0xFFFFFF, c = img.pixel(x, y) & 0xFFFFFF;
            QVERIFY2(m == 0 || m == 0xFFFFFF,
                     qPrintable(QString("mask grey at %1,%2").arg(x).arg(y)));
            // Black in the mask exactly where the image is not black.
            QVERIFY2((m == 0) == (c != 0), qPrintable(QString("mismatch at %1,%2").arg(x).arg(y)));
            // A round stone: symmetric about the tile's centre.
            QCOMPARE(mask.pixel(n - 1 - x, n - 1 - y) & 0xFFFFFF, m);
            QCOMPARE(mask.pixel(y, x) & 0xFFFFFF, m);
            if (m == 0) {
                ++covered;
                lumaSum += Luma(c);
            }
        }
    }
    // A disc that fills most of the square, but not its corners.
    const double disc = M_PI * n * n / 4.0;
    QVERIFY2(covered > disc * 0.85 && covered < disc * 1.1, qPrintable(QString::number(covered)));
    QCOMPARE(mask.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    QCOMPARE(mask.pixel(n / 2, n / 2) & 0xFFFFFF, 0u);
    const bool white = (image & 2) != 0;
    const double mean = lumaSum / covered;
    QVERIFY2(white ? mean > 170 : mean < 80, qPrintable(QString::number(mean)));
}

void TestAssets::stonesOnBoard_data() {
    QTest::addColumn<int>("image");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    for (int i = 0; i < 16; i += 2) {
        QTest::newRow(qPrintable(StoneBitmapName(i) + " corner")) << i << 0 << 0;
        QTest::newRow(qPrintable(StoneBitmapName(i) + " middle")) << i << 181 << 97;
        // Partly outside the surface: clipped, nothing else touched.
        QTest::newRow(qPrintable(StoneBitmapName(i) + " edge")) << i << 389 - TileEdge(i) / 2 << 5;
    }
}

void TestAssets::stonesOnBoard() {
    QFETCH(int, image);
    QFETCH(int, left);
    QFETCH(int, top);
    const QImage board = Load("board.bmp").convertToFormat(QImage::Format_RGB32);
    QVERIFY(!board.isNull());
    QImage surface = board;
    DrawStone(surface, image, left, top);
    const QImage stone = Load(StoneBitmapName(image)).convertToFormat(QImage::Format_RGB32);
    const QImage mask = Load(StoneBitmapName(image + 1)).convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            const int tx = x - left, ty = y - top;
            const bool inTile = tx >= 0 && ty >= 0 && tx < stone.width() && ty < stone.height();
            QRgb want = board.pixel(x, y);
            if (inTile && (mask.pixel(tx, ty) & 0xFFFFFF) == 0) want = stone.pixel(tx, ty);
            if (surface.pixel(x, y) != want)
                QFAIL(qPrintable(QString("pixel %1,%2 is %3, want %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(surface.pixel(x, y), 0, 16)
                                     .arg(want, 0, 16)));
        }
    }
}

void TestAssets::smallStonesStandOut() {
    // On the wood, even the smallest stones must differ clearly from the
    // board around them: black much darker, white with a visible edge.
    const QImage board = Load("board.bmp").convertToFormat(QImage::Format_RGB32);
    double boardLuma = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            boardLuma += Luma(board.pixel(x, y));
    boardLuma /= 1600;
    for (int index : {8, 10, 12, 14}) {
        const QImage img = Load(StoneBitmapName(index)).convertToFormat(QImage::Format_RGB32);
        const int n = img.width();
        double darkest = 255, brightest = 0;
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                const QRgb c = img.pixel(x, y) & 0xFFFFFF;
                if (c == 0) continue;
                darkest = std::min(darkest, Luma(c));
                brightest = std::max(brightest, Luma(c));
            }
        }
        const double centre = Luma(img.pixel(n / 2, n / 2));
        if (index & 2) {
            QVERIFY2(brightest > boardLuma + 25, qPrintable(StoneBitmapName(index)));
            QVERIFY2(darkest < boardLuma - 40, qPrintable(StoneBitmapName(index))); // its rim
        } else {
            QVERIFY2(centre < boardLuma - 100, qPrintable(StoneBitmapName(index)));
            QVERIFY2(brightest > darkest + 40, qPrintable(StoneBitmapName(index))); // highlight
        }
    }
}

void TestAssets::parseWavRejectsDamage_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    art::Pcm pcm;
    pcm.rate = 8000;
    pcm.samples = {0.0f, 0.5f, -0.5f, 0.25f};
    const QByteArray good = art::WavBytes(pcm);
    QTest::newRow("whole") << good << true;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("header only") << good.left(12) << false;
    QTest::newRow("cut in data") << good.left(good.size() - 3) << false;
    QByteArray eightBit = good;
    eightBit[34] = 8;
    QTest::newRow("8-bit") << eightBit << false;
    QByteArray huge = good;
    qToLittleEndian<quint32>(0xFFFFFFF0u, huge.data() + 40);
    QTest::newRow("data length past the end") << huge << false;
    QByteArray notWave = good;
    notWave.replace(8, 4, "AVI ");
    QTest::newRow("not WAVE") << notWave << false;
}

void TestAssets::parseWavRejectsDamage() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    const std::optional<art::Pcm> pcm = art::ParseWav(bytes);
    QCOMPARE(bool(pcm), valid);
    if (valid) {
        QCOMPARE(pcm->rate, 8000);
        QCOMPARE(pcm->samples.size(), size_t(4));
        QVERIFY(std::abs(pcm->samples[1] - 0.5f) < 1e-3f);
        QVERIFY(std::abs(pcm->samples[2] + 0.5f) < 1e-3f);
    }
}

void TestAssets::regenerationIsIdentical() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QProcess gen;
    gen.start(QStringLiteral(VELMORA_ASSETGEN),
              {dir.path(), "--voice", QStringLiteral(VELMORA_SOURCE_DIR "/data/assets/voice")});
    QVERIFY(gen.waitForFinished(240000));
    QCOMPARE(gen.exitStatus(), QProcess::NormalExit);
    QCOMPARE(gen.exitCode(), 0);
    for (const QString& name : AllNames()) {
        const QByteArray fresh = ReadAll(QDir(dir.path()).filePath(name));
        QVERIFY2(!fresh.isEmpty(), qPrintable(name));
        QVERIFY2(fresh == ReadAll(QDir(kDist).filePath(name)), qPrintable(name + " differs"));
    }
}

void TestAssets::voiceClipsReproducible() {
    // The spoken countdown is recorded once and committed; the recording
    // script must still give exactly those clips.
    if (QStandardPaths::findExecutable("espeak-ng").isEmpty())
        QSKIP("espeak-ng is not installed; the committed clips are used as they are");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QProcess rec;
    rec.start("bash",
              {QStringLiteral(VELMORA_SOURCE_DIR "/tools/assets/make_voice.sh"), dir.path()});
    QVERIFY(rec.waitForFinished(120000));
    QCOMPARE(rec.exitCode(), 0);
    for (const QString& name : art::CountdownNames()) {
        const QByteArray fresh = ReadAll(QDir(dir.path()).filePath(name));
        QVERIFY2(!fresh.isEmpty(), qPrintable(name));
        QVERIFY2(fresh == ReadAll(QStringLiteral(VELMORA_SOURCE_DIR "/data/assets/voice/") + name),
                 qPrintable(name + " differs"));
    }
}

QTEST_GUILESS_MAIN(TestAssets)
#include "test_assets.moc"
