// Problem blocks: byte-exact decoding and encoding, loading from the index
// and block files, and refusal of every kind of corrupt block.
#include "library/courses.h"
#include "library/files.h"
#include "library/problem.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray Bytes(std::initializer_list<int> v) {
    QByteArray b;
    for (const int x : v)
        b.append(static_cast<char>(x));
    return b;
}

QByteArray Header(int viewSize, int diff, int purpose, int hands) {
    return Bytes({viewSize, purpose * 32 + diff, hands & 0xFF, hands >> 8});
}

QByteArray Node(int prev, int x, int y, int code, int best, int repl) {
    return Bytes({prev & 0xFF, x * 8 + (prev >> 8), y, best * 128 + code, repl});
}

QByteArray Le32(quint32 v) {
    return Bytes({int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF), int(v >> 24)});
}

void WriteFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

} // namespace

class TestProblem : public QObject {
    Q_OBJECT
private slots:
    void decodeStoneLists_data();
    void decodeStoneLists();
    void encodeGaps_data();
    void encodeGaps();
    void decodeNodeRecord();
    void emptyBlockAndEmptyTree();
    void roundTripFullProblem();
    void corruptBlocks_data();
    void corruptBlocksSayWhat_data();
    void corruptBlocksSayWhat();
    void missingBlockFileIsNamed();
    void corruptBlocks();
    void loadUsesIndexEntries();
    void loadRejectsBadIndex_data();
    void loadRejectsBadIndex();
    void examinationStack();
    void examinationRefusesWhenFull();
};

void TestProblem::decodeStoneLists_data() {
    QTest::addColumn<QByteArray>("black");
    QTest::addColumn<QList<int>>("points");
    QTest::newRow("corners 0 and 360") << Bytes({0x01, 0xE8, 0x02, 0x00}) << QList<int>{0, 360};
    QTest::newRow("point 199") << Bytes({0xC8, 0x01, 0x00}) << QList<int>{199};
    QTest::newRow("point 299") << Bytes({0xAC, 0x02, 0x00}) << QList<int>{299};
    QTest::newRow("gap 127 one byte") << Bytes({0x7F, 0x00}) << QList<int>{126};
    QTest::newRow("gap 128 two bytes") << Bytes({0x80, 0x01, 0x00}) << QList<int>{127};
    QTest::newRow("single stone at 360") << Bytes({0xE9, 0x02, 0x00}) << QList<int>{360};
}

void TestProblem::decodeStoneLists() {
    QFETCH(QByteArray, black);
    QFETCH(QList<int>, points);
    Problem p;
    QString err;
    QVERIFY2(DecodeProblem(black + Bytes({0}) + Header(13, 10, 1, 0), p, &err), qPrintable(err));
    QList<int> got;
    for (int i = 0; i < kPoints; ++i) {
        if (p.gInitBoard[i] == kBlack) got.append(i);
        QVERIFY(p.gInitBoard[i] != kWhite);
    }
    QCOMPARE(got, points);
    // The writer gives back the same bytes.
    QCOMPARE(EncodeProblem(p), black + Bytes({0}) + Header(13, 10, 1, 0));
}

void TestProblem::encodeGaps_data() {
    QTest::addColumn<int>("point");
    QTest::addColumn<QByteArray>("list");
    QTest::newRow("gap 127") << 126 << Bytes({0x7F, 0x00});
    QTest::newRow("gap 128") << 127 << Bytes({0x80, 0x01, 0x00});
    QTest::newRow("gap 361") << 360 << Bytes({0xE9, 0x02, 0x00});
}

void TestProblem::encodeGaps() {
    QFETCH(int, point);
    QFETCH(QByteArray, list);
    Problem p;
    p.gInitBoard[point] = kWhite;
    p.ViewSize = 19;
    const QByteArray out = EncodeProblem(p);
    QCOMPARE(out.left(1 + list.size()), Bytes({0}) + list);
}

void TestProblem::decodeNodeRecord() {
    Problem p;
    QString err;
    const QByteArray block =
        Bytes({0, 0}) + Header(0x80 | 11, 20, 2, 1) + Bytes({0xFF, 0x1F, 0x05, 0x8B, 0x01});
    QVERIFY2(DecodeProblem(block, p, &err), qPrintable(err));
    QCOMPARE(p.ViewSize, int16_t(11));
    QCOMPARE(p.HeadFlag, int16_t(1));
    QCOMPARE(p.Difficulty, int16_t(20));
    QCOMPARE(p.ProbPurpose, int16_t(2));
    QCOMPARE(p.hands, int16_t(1));
    QCOMPARE(p.prev[0], int16_t(2047));
    QCOMPARE(int(p.x[0]), 3);
    QCOMPARE(int(p.y[0]), 5);
    QCOMPARE(int(p.code[0]), 11);
    QCOMPARE(int(p.best[0]), 1);
    QCOMPARE(int(p.repl[0]), 1);
    QCOMPARE(EncodeProblem(p), block);
}

void TestProblem::emptyBlockAndEmptyTree() {
    Problem p;
    QVERIFY(DecodeProblem(Bytes({0, 0}) + Header(9, 10, 1, 0), p));
    QCOMPARE(p.hands, int16_t(0));
    for (const int16_t s : p.gInitBoard)
        QCOMPARE(s, int16_t(0));
}

void TestProblem::roundTripFullProblem() {
    Problem p;
    p.ViewSize = 13;
    p.Difficulty = 30;
    p.ProbPurpose = 3;
    for (int i = 0; i < 361; i += 7)
        p.gInitBoard[i] = (i % 2) ? kBlack : kWhite;
    p.hands = 1000;
    for (int n = 0; n < 1000; ++n) {
        p.prev[n] = n == 0 ? kRoot : int16_t(n - 1);
        p.x[n] = n % 19;
        p.y[n] = (n / 19) % 19;
        p.code[n] = n % 128;
        p.best[n] = n % 2;
        p.repl[n] = n % 256;
    }
    // 1000 moves deep is past the 401-move limit: shorten every chain. The
    // last node of each chain is a leaf and carries a real outcome class.
    for (int n = 0; n < 1000; ++n)
        p.prev[n] = (n % 400 == 0) ? kRoot : int16_t(n - 1);
    for (const int leaf : {399, 799, 999})
        p.code[leaf] = 60;
    Problem q;
    QString err;
    QVERIFY2(DecodeProblem(EncodeProblem(p), q, &err), qPrintable(err));
    QCOMPARE(q.gInitBoard, p.gInitBoard);
    QCOMPARE(q.prev, p.prev);
    QCOMPARE(q.code, p.code);
    QCOMPARE(q.repl, p.repl);
    QCOMPARE(EncodeProblem(q), EncodeProblem(p));
}

void TestProblem::corruptBlocks_data() {
    QTest::addColumn<QByteArray>("block");
    const QByteArray noStones = Bytes({0, 0});
    QTest::newRow("empty buffer") << QByteArray();
    QTest::newRow("black list without end") << Bytes({0x05, 0x06});
    QTest::newRow("two-byte gap cut off") << Bytes({0x85});
    QTest::newRow("point past 360") << Bytes({0xEA, 0x02, 0x00, 0x00}) + Header(9, 10, 1, 0);
    QTest::newRow("header cut off") << noStones + Bytes({9, 10});
    QTest::newRow("node count above 1000") << noStones + Header(9, 10, 1, 1001);
    QTest::newRow("nodes past the end")
        << noStones + Header(9, 10, 1, 2) + Node(2047, 1, 1, 5, 0, 0);
    QTest::newRow("prev not a node")
        << noStones + Header(9, 10, 1, 2) + Node(2047, 1, 1, 0, 0, 0) + Node(5, 2, 2, 5, 0, 0);
    QTest::newRow("prev to itself") << noStones + Header(9, 10, 1, 1) + Node(0, 1, 1, 5, 0, 0);
    QTest::newRow("cycle in prev")
        << noStones + Header(9, 10, 1, 2) + Node(1, 1, 1, 5, 0, 0) + Node(0, 2, 2, 5, 0, 0);
    QTest::newRow("move off the board")
        << noStones + Header(9, 10, 1, 1) + Node(2047, 19, 1, 5, 0, 0);
    QByteArray wide = noStones + Header(9, 10, 1, 42);
    for (int i = 0; i < 42; ++i)
        wide += Node(2047, i % 19, i / 19, 5, 0, 0);
    QTest::newRow("42 children") << wide;
    QByteArray deep = noStones + Header(9, 10, 1, 402);
    for (int i = 0; i < 402; ++i)
        deep += Node(i == 0 ? 2047 : i - 1, i % 19, (i / 19) % 19, 5, 0, 0);
    QTest::newRow("402 moves deep") << deep;
}

void TestProblem::corruptBlocksSayWhat_data() {
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<QString>("told"); // empty: the block is sound
    const QByteArray noStones = Bytes({0, 0});
    QTest::newRow("zero gap") << Bytes({0x05, 0x80, 0x00, 0x00, 0x00}) + Header(9, 10, 1, 0)
                              << QString("間隔が0");
    QTest::newRow("point past 360")
        << Bytes({0xEA, 0x02, 0x00, 0x00}) + Header(9, 10, 1, 0) << QString("盤の外");
    // Class 8 has no row in the outcome table: it would rank below 白死.
    QTest::newRow("leaf of class 8")
        << noStones + Header(9, 10, 2, 2) + Node(2047, 1, 1, 5, 0, 0) + Node(2047, 2, 2, 8, 1, 0)
        << QString("81");
    QTest::newRow("leaf of class 0")
        << noStones + Header(9, 10, 2, 1) + Node(2047, 1, 1, 0, 0, 0) << QString("結果の表");
    QTest::newRow("inner node without a class")
        << noStones + Header(9, 10, 2, 2) + Node(2047, 1, 1, 0, 0, 0) + Node(0, 2, 2, 62, 0, 0)
        << QString();
}

void TestProblem::corruptBlocksSayWhat() {
    QFETCH(QByteArray, block);
    QFETCH(QString, told);
    Problem p;
    QString err;
    QCOMPARE(DecodeProblem(block, p, &err), told.isEmpty());
    QVERIFY2(err.contains(told), qPrintable(err));
}

void TestProblem::corruptBlocks() {
    QFETCH(QByteArray, block);
    Problem p;
    p.hands = 7;
    QString err;
    QVERIFY(!DecodeProblem(block, p, &err));
    QVERIFY(!err.isEmpty());
    QCOMPARE(p.hands, int16_t(0)); // nothing half-decoded is left behind
}

void TestProblem::loadUsesIndexEntries() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray b0 = Bytes({0x01, 0, 0}) + Header(9, 10, 1, 0);
    const QByteArray b1 = Bytes({0, 0x02, 0}) + Header(11, 20, 2, 1) + Node(2047, 4, 4, 5, 0, 1);
    WriteFile(dir.path() + "/abc.dt", b0 + b1);
    WriteFile(dir.path() + "/abc.dr", Le32(b0.size()) + Le32(b0.size() + b1.size()));
    Problem p;
    QString err;
    QVERIFY2(LoadProblemFromSet("abc", 0, p, &err, dir.path()), qPrintable(err));
    QCOMPARE(p.gInitBoard[0], kBlack);
    QCOMPARE(p.ViewSize, int16_t(9));
    QVERIFY2(LoadProblemFromSet("abc", 1, p, &err, dir.path()), qPrintable(err));
    QCOMPARE(p.gInitBoard[1], kWhite);
    QCOMPARE(p.gInitBoard[0], kEmpty);
    QCOMPARE(p.hands, int16_t(1));
    QCOMPARE(p.gTurnOffset, int16_t(0));
    // Past the end of the set.
    QVERIFY(!LoadProblemFromSet("abc", 2, p, &err, dir.path()));
    QVERIFY(err.contains("abc.dr"));
    QVERIFY(!LoadProblemFromSet("abc", -1, p, &err, dir.path()));
}

void TestProblem::loadRejectsBadIndex_data() {
    QTest::addColumn<QByteArray>("dr");
    QTest::addColumn<int>("problem");
    QTest::addColumn<QString>("faulty");
    // The index asks for more than the block file holds: the block file was
    // cut short.
    QTest::newRow("entry past the end of the block file")
        << Le32(7) + Le32(500) << 1 << QString("s1.dt");
    QTest::newRow("entry going backwards") << Le32(7) + Le32(3) << 1 << QString("s1.dr");
}

void TestProblem::loadRejectsBadIndex() {
    QFETCH(QByteArray, dr);
    QFETCH(int, problem);
    QTemporaryDir dir;
    WriteFile(dir.path() + "/s1.dt", Bytes({0, 0}) + Header(9, 10, 1, 0) + Bytes({0, 0, 0, 0, 0}));
    WriteFile(dir.path() + "/s1.dr", dr);
    Problem p;
    QString err;
    QFETCH(QString, faulty);
    QVERIFY(!LoadProblemFromSet("s1", problem, p, &err, dir.path()));
    QVERIFY2(err.contains(faulty), qPrintable(err));
    QVERIFY(err.contains(QString::number(problem + 1)));
    QCOMPARE(CheckIndex(dr, 11, nullptr), -1);
}

void TestProblem::missingBlockFileIsNamed() {
    QTemporaryDir dir;
    WriteFile(dir.path() + "/s2.dr", Le32(6));
    Problem p;
    QString err;
    QVERIFY(!LoadProblemFromSet("s2", 0, p, &err, dir.path()));
    QVERIFY2(err.contains("s2.dt") && !err.contains("s2.dr"), qPrintable(err));
}

void TestProblem::examinationStack() {
    Problem p;
    p.hands = 3;
    Board shown{};
    shown[0] = kBlack;
    int16_t now = 1;
    StartExamine(p, shown, 3, now);
    QCOMPARE(now, kRoot);
    QCOMPARE(p.hands, int16_t(0));
    QCOMPARE(p.gTurnOffset, int16_t(3));
    QCOMPARE(p.gInitBoard, shown);
    QVERIFY(AddExamMove(p, 2, 2, now));
    QVERIFY(AddExamMove(p, 3, 3, now));
    QCOMPARE(now, int16_t(1));
    QCOMPARE(p.prev[1], int16_t(0));
    QVERIFY(TakeBackExamMove(p, now));
    QVERIFY(TakeBackExamMove(p, now));
    QCOMPARE(now, kRoot);
    QCOMPARE(p.hands, int16_t(0));
    QVERIFY(!TakeBackExamMove(p, now));
    QCOMPARE(now, kRoot);
}

void TestProblem::examinationRefusesWhenFull() {
    Problem p;
    int16_t now = kRoot;
    StartExamine(p, Board{}, 0, now);
    for (int i = 0; i < kMaxNodes; ++i)
        QVERIFY(AddExamMove(p, i % 19, (i / 19) % 19, now));
    QVERIFY(!AddExamMove(p, 0, 0, now));
    QCOMPARE(p.hands, int16_t(kMaxNodes));
    QCOMPARE(now, int16_t(kMaxNodes - 1));
}

QTEST_GUILESS_MAIN(TestProblem)
#include "test_problem.moc"
