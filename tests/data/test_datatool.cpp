// velmora-data: source conventions, exact encodings, the checker against
// corrupt data, and the dump -> compile round trip.
#include "tools/data/commands.h"
#include "tools/data/dataset.h"
#include "tools/data/dump.h"
#include "tools/data/measure.h"
#include "tools/data/source.h"

#include "library/files.h"
#include "library/player.h"
#include "rules/outcome.h"
#include "rules/rules.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/common/testfiles.h"
#include <algorithm>
#include <functional>
#include <random>

namespace {

// Straight three in the corner: Black lives at the vital point b1 ("ba").
const char kLive[] = "(;FF[4]SZ[19]VS[13]DF[10]PP[1]\n"
                     "AB[da][ab][bb][cb][db]\n"
                     "AW[ea][eb][ac][bc][cc][dc][ec]\n"
                     "(;B[ba]OC[10]RP[1])\n"
                     "(;B[aa];W[ba]OC[60]RP[1])\n"
                     "(;B[ca];W[ba]OC[60]))\n";

// The same shape with the colours swapped: Black kills at the vital point.
const char kKill[] = "(;FF[4]SZ[19]VS[13]DF[20]PP[2]\n"
                     "AW[da][ab][bb][cb][db]\n"
                     "AB[ea][eb][ac][bc][cc][dc][ec]\n"
                     "(;B[ba]OC[5]RP[1])\n"
                     "(;B[aa];W[ba]OC[55]RP[1]))\n";

QByteArray Hex(const QByteArray& b) {
    return b.toHex(' ').toUpper();
}

QByteArray FromHex(const char* hex) {
    return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}

using testfiles::WriteFile;

QByteArray ReadFile(const QString& path) {
    return testfiles::ReadFile(path, "<missing>");
}

// Converts one source file's text; all diagnostics as one text.
bool Convert(DataSet set, const QByteArray& text, std::vector<SourceProblem>& out, QString& report,
             bool& warned) {
    std::vector<Diagnostic> diags;
    out.clear();
    const bool ok = ProblemsFromSource(text, set, QStringLiteral("t.sgf"), out, diags);
    report.clear();
    warned = false;
    for (const Diagnostic& d : diags) {
        report += d.ToString() + QLatin1Char('\n');
        warned = warned || d.warning;
    }
    return ok;
}

int Run(const QStringList& args, QString* out = nullptr, QString* err = nullptr) {
    CommandOutput io;
    const int status = RunDataCommand(args, io);
    if (out) *out = QString::fromUtf8(io.out);
    if (err) *err = QString::fromUtf8(io.err);
    return status;
}

// Dumps every problem of every set of `data` into `src` (one file per
// problem, named so that file order is problem order).
void DumpAll(const QString& data, const QString& src) {
    for (const char* set : {"abc", "s1", "s2"}) {
        QDir().mkpath(src + "/" + set);
        QString listing;
        QCOMPARE(Run({"list", data, set}, &listing), 0);
        const int count = static_cast<int>(listing.split('\n', Qt::SkipEmptyParts).size());
        for (int n = 1; n <= count; ++n) {
            QString sgfText;
            QString err;
            QCOMPARE(Run({"dump", data, set, QString::number(n)}, &sgfText, &err), 0);
            WriteFile(QStringLiteral("%1/%2/%3.sgf").arg(src, set).arg(n, 5, 10, QLatin1Char('0')),
                      sgfText.toUtf8());
        }
    }
}

void CompareFolders(const QString& a, const QString& b) {
    for (const QString& name : DataFileNames()) {
        const QByteArray x = ReadFile(a + "/" + name);
        const QByteArray y = ReadFile(b + "/" + name);
        if (x != y)
            QFAIL(qPrintable(QStringLiteral("%1 differs (%2 vs %3 bytes)")
                                 .arg(name)
                                 .arg(x.size())
                                 .arg(y.size())));
    }
}

// Offset of the first node record of a block.
qsizetype NodeStart(const QByteArray& block) {
    const qsizetype black = block.indexOf('\0');
    const qsizetype white = block.indexOf('\0', black + 1);
    return white + 1 + 4;
}

} // namespace

class TestDataTool : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void sourceConventions();
    void similarPositions_data();
    void similarPositions();
    void levelRule_data();
    void levelRule();
    void levelFaultOfTrees();
    void auditFindsDuplicatesAndLevels();
    void nodeNumbersHonoured();
    void encodingExamples_data();
    void encodingExamples();
    void indexTemplateAndComments();

    void sourceFaults_data();
    void sourceFaults();
    void tooManyCommentFields();
    void tooManyProblems();
    void compileWritesNothingOnFault();

    void checkerFaults_data();
    void checkerFaults();

    void mutatedSourcesNeverCrash();
    void randomTreesNeverCrash();

    void roundTripTestProblems();
    void roundTripShippedProblems();
    void roundTripUnusualNodeOrder();
    void roundTripRandomDataSets();

    void toolOnDistFolder();

private:
    QTemporaryDir tmp_;
    QString good_; // a compiled folder from the test problems
};

void TestDataTool::initTestCase() {
    InitOutcomeTable();
    QVERIFY(tmp_.isValid());
    good_ = tmp_.filePath("good");
    QString err;
    QCOMPARE(Run({"compile", QStringLiteral(VELMORA_SOURCE_DIR "/tests/data/problems"), good_},
                 nullptr, &err),
             0);
    QVERIFY2(!err.contains("warning"), qPrintable(err));
}

namespace {

Problem OneProblem(const QByteArray& text) {
    std::vector<SourceProblem> out;
    QString report;
    bool warned = false;
    if (!Convert(DataSet::Abc, text, out, report, warned) || out.size() != 1) return {};
    return out[0].problem;
}

} // namespace

void TestDataTool::similarPositions_data() {
    QTest::addColumn<QByteArray>("other");
    QTest::addColumn<int>("distance");
    // kLive: AB[da][ab][bb][cb][db] AW[ea][eb][ac][bc][cc][dc][ec].
    QTest::newRow("itself") << QByteArray(kLive) << 0;
    QTest::newRow("colours swapped") << QByteArray(kKill) << 0;
    QTest::newRow("mirrored on the diagonal")
        << QByteArray("(;VS[13]DF[10]PP[1]AB[ad][ba][bb][bc][bd]AW[ae][be][ca][cb][cc][cd][ce]"
                      ";B[ab]OC[10])")
        << 0;
    QTest::newRow("turned into the far corner")
        << QByteArray("(;VS[19]DF[10]PP[1]AB[ps][sr][rr][qr][pr]AW[os][or][sq][rq][qq][pq][oq]"
                      ";B[rs]OC[10])")
        << 0;
    QTest::newRow("one stone more")
        << QByteArray("(;VS[13]DF[10]PP[1]AB[da][ab][bb][cb][db]AW[ea][eb][ac][bc][cc][dc][ec][fa]"
                      ";B[ba]OC[10])")
        << 1;
    QTest::newRow("one stone of the other colour")
        << QByteArray("(;VS[13]DF[10]PP[1]AB[da][ab][bb][cb][db][ea]AW[eb][ac][bc][cc][dc][ec]"
                      ";B[ba]OC[10])")
        << 2;
}

void TestDataTool::similarPositions() {
    QFETCH(QByteArray, other);
    QFETCH(int, distance);
    const Problem a = OneProblem(kLive);
    const Problem b = OneProblem(other);
    QCOMPARE(PositionDistance(a, b), distance);
    QCOMPARE(PositionDistance(b, a), distance);
    const std::vector<const Problem*> list = {&a, &b};
    const auto pairs = FindSimilar(list, kNearDistance);
    QCOMPARE(pairs.size(), std::size_t(distance <= kNearDistance ? 1 : 0));
    // The key names a position and all its images, nothing else; the
    // problem tools write the same text (tools/content/gnugo.py).
    QCOMPARE(PositionKey(a) == PositionKey(b), distance == 0);
    QCOMPARE(PositionKey(a), std::string("babbbbbcbbdabdbwacwbcwccwdcweawebwec"));
}

void TestDataTool::levelRule_data() {
    QTest::addColumn<int>("mainLine");
    QTest::addColumn<bool>("hard");
    QTest::addColumn<bool>("engineMisses");
    QTest::addColumn<int>("level");
    QTest::newRow("one move") << 1 << false << false << 10;
    QTest::newRow("three moves, hard") << 3 << true << false << 10;
    QTest::newRow("three moves, GNU Go misses") << 3 << false << true << 10;
    QTest::newRow("four moves") << 4 << false << false << 10;
    QTest::newRow("five moves") << 5 << false << false << 20;
    QTest::newRow("five moves, hard") << 5 << true << false << 30;
    QTest::newRow("five moves, GNU Go misses") << 5 << false << true << 30;
    QTest::newRow("six moves") << 6 << false << false << 20;
    QTest::newRow("seven moves") << 7 << false << false << 30;
}

void TestDataTool::levelRule() {
    QFETCH(int, mainLine);
    QFETCH(bool, hard);
    QFETCH(bool, engineMisses);
    QFETCH(int, level);
    DifficultyMeasure m;
    m.mainLine = mainLine;
    m.hardFirstMove = hard;
    m.engineMisses = engineMisses;
    QCOMPARE(HighestLevel(m), level);
}

void TestDataTool::levelFaultOfTrees() {
    // kKill: one move solves it, so only 初級 fits.
    Problem p = OneProblem(kKill);
    QCOMPARE(MeasureDifficulty(p).mainLine, 1);
    QVERIFY(!MeasureDifficulty(p).hardFirstMove);
    QVERIFY(LevelFault(p).contains("DF 20 is above the measured difficulty (main line 1 moves)"));
    p.Difficulty = 10;
    QVERIFY(LevelFault(p).isEmpty());
    // Black takes the shortest correct line, White the longest resistance:
    // B[ba] W[aa] B[ca] (3) against B[ca] W[ba] B[aa] W[ab] B[ac] (5).
    const Problem two = OneProblem("(;VS[13]DF[10]PP[2]AB[aa]AW[ba]"
                                   "(;B[ca](;W[da]OC[5])(;W[ea];B[fa]OC[5]))"
                                   "(;B[ab];W[ac];B[ad];W[ae];B[af]OC[5]))");
    QCOMPARE(MeasureDifficulty(two).mainLine, 3);
    QCOMPARE(MeasureDifficulty(two).branching, 1);
    // A first move that touches no stone is hard to see.
    QVERIFY(!MeasureDifficulty(two).hardFirstMove);
    const Problem far = OneProblem("(;VS[13]DF[10]PP[2]AB[aa]AW[ba];B[ga];W[ha]OC[5])");
    QVERIFY(MeasureDifficulty(far).hardFirstMove);
    // Five moves with a plain first move: 有段 only when GNU Go misses it.
    const Problem five = OneProblem("(;VS[13]DF[30]PP[2]AB[aa]AW[ba];B[ca];W[da];B[ea];W[fa];B[ga]"
                                    "OC[5])");
    QCOMPARE(MeasureDifficulty(five).mainLine, 5);
    QVERIFY(LevelFault(five).contains("main line 5 moves)"));
    QVERIFY(LevelFault(five, true).isEmpty());
}

void TestDataTool::auditFindsDuplicatesAndLevels() {
    // The test problems are all the straight three, in both colours, and two
    // of them claim 上級 and 有段 for a one-move answer.
    QString out;
    QCOMPARE(Run({"audit", good_}, &out), 1);
    QVERIFY2(out.contains("abc.dt: problem 2: the same start position as abc 1 (turned, mirrored "
                          "or with the colours swapped)"),
             qPrintable(out));
    QVERIFY2(out.contains("s2.dt: problem 1: the same start position as abc 1"), qPrintable(out));
    QVERIFY2(out.contains("abc.dt: problem 3: DF 30 is above the measured difficulty (main line 1 "
                          "moves)"),
             qPrintable(out));
    QVERIFY(!out.contains("abc.dt: problem 1: DF"));
    QCOMPARE(Run({"audit"}), 2);
    QCOMPARE(Run({"audit", good_, "--gnugo"}), 2);

    // GNU Go's recorded verdicts: read by position key, a malformed list
    // refused with its line named.
    const QString misses = tmp_.filePath("gnugo.txt");
    WriteFile(misses, "# comment\n\nbabbbbbcbbdabdbwacwbcwccwdcweawebwec ba abc/x.sgf#1\n");
    std::set<std::string> keys;
    QString error;
    QVERIFY2(ReadEngineMisses(misses, keys, error), qPrintable(error));
    QCOMPARE(keys, std::set<std::string>{"babbbbbcbbdabdbwacwbcwccwdcweawebwec"});
    QCOMPARE(Run({"audit", good_, "--gnugo", misses}, &out), 1);
    QVERIFY2(out.contains("abc.dt: problem 3: DF 30"), qPrintable(out));
    WriteFile(misses, "bab\nbaBxx\n");
    QVERIFY(!ReadEngineMisses(misses, keys, error));
    QVERIFY2(error.endsWith("gnugo.txt:2: not a position key"), qPrintable(error));
    QString err;
    QCOMPARE(Run({"audit", good_, "--gnugo", misses}, &out, &err), 1);
    QVERIFY2(err.contains("gnugo.txt:2: not a position key"), qPrintable(err));
    QVERIFY(!ReadEngineMisses(tmp_.filePath("missing.txt"), keys, error));
}

void TestDataTool::sourceConventions() {
    std::vector<SourceProblem> out;
    QString report;
    bool warned = false;
    QVERIFY2(Convert(DataSet::Abc, kLive, out, report, warned), qPrintable(report));
    QVERIFY2(!warned, qPrintable(report));
    QCOMPARE(out.size(), std::size_t(1));
    const Problem& p = out[0].problem;
    QCOMPARE(p.ViewSize, int16_t(13));
    QCOMPARE(p.Difficulty, int16_t(10));
    QCOMPARE(p.ProbPurpose, int16_t(1));
    QCOMPARE(p.HeadFlag, int16_t(0));
    QCOMPARE(p.gInitBoard[3], kBlack);          // da: column 3, row 0
    QCOMPARE(p.gInitBoard[19 + 4], kWhite);     // eb: column 4, row 1
    QCOMPARE(p.gInitBoard[2 * 19 + 0], kWhite); // ac
    // Pre-order numbering: siblings in written order.
    QCOMPARE(p.hands, int16_t(5));
    const int16_t prev[] = {kRoot, kRoot, 1, kRoot, 3};
    const int xs[] = {1, 0, 1, 2, 1};
    for (int n = 0; n < 5; ++n) {
        QCOMPARE(p.prev[n], prev[n]);
        QCOMPARE(int(p.x[n]), xs[n]);
        QCOMPARE(int(p.y[n]), 0);
    }
    QCOMPARE(int(p.code[0]), 10);
    QCOMPARE(int(p.repl[0]), 1);
    QCOMPARE(int(p.code[2]), 60);
    QCOMPARE(int(p.code[1]), 0);

    // Outcome names, compressed point lists, a comment for s1, a BOM, CRLF.
    const QByteArray named = "\xEF\xBB\xBF(;VS[13]PP[2]CM[黒先白死、一手で]\r\n"
                             "AB[aa:ba]AW[ab:cc]\r\n;B[ca]OC[白死]OB[1]RP[3])";
    QVERIFY2(Convert(DataSet::S1, named, out, report, warned), qPrintable(report));
    const Problem& q = out[0].problem;
    QCOMPARE(out[0].comment, QStringLiteral("黒先白死、一手で"));
    QCOMPARE(q.gInitBoard[0], kBlack);
    QCOMPARE(q.gInitBoard[1], kBlack);
    for (int y = 1; y <= 2; ++y)
        for (int x = 0; x <= 2; ++x)
            QCOMPARE(q.gInitBoard[x + 19 * y], kWhite);
    QCOMPARE(int(q.code[0]), 5);
    QCOMPARE(int(q.best[0]), 1);
    QCOMPARE(int(q.repl[0]), 3);
    QCOMPARE(q.Difficulty, int16_t(0)); // DF is optional outside abc
}

void TestDataTool::nodeNumbersHonoured() {
    // NN on every node decides the numbering (and so the child order).
    const QByteArray text = kLive;
    QByteArray numbered = text;
    numbered.replace("(;B[ba]OC", "(;B[ba]NN[4]OC")
        .replace("(;B[aa];W[ba]", "(;B[aa]NN[0];W[ba]NN[3]")
        .replace("(;B[ca];W[ba]", "(;B[ca]NN[2];W[ba]NN[1]");
    std::vector<SourceProblem> out;
    QString report;
    bool warned = false;
    QVERIFY2(Convert(DataSet::Abc, numbered, out, report, warned), qPrintable(report));
    const Problem& p = out[0].problem;
    QCOMPARE(p.prev[4], kRoot);
    QCOMPARE(int(p.x[4]), 1);
    QCOMPARE(p.prev[3], int16_t(0));
    QCOMPARE(p.prev[1], int16_t(2));
    QCOMPARE(int(p.code[4]), 10);

    // NN on some nodes only: ignored with a warning.
    QByteArray partial = text;
    partial.replace("(;B[ba]OC", "(;B[ba]NN[4]OC");
    QVERIFY(Convert(DataSet::Abc, partial, out, report, warned));
    QVERIFY(warned);
    QVERIFY(report.contains("NN on 1 of 5"));
    QCOMPARE(int(out[0].problem.x[0]), 1); // written order kept
}

void TestDataTool::encodingExamples_data() {
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("block");

    QTest::newRow("stones at points 0 and 360")
        << QByteArray("(;VS[19]PP[1]AB[aa][ss])") << QByteArray("01 E8 02 00 00 13 20 00 00");
    QTest::newRow("gap 127 is one byte")
        << QByteArray("(;VS[19]PP[1]AB[mg])") << QByteArray("7F 00 00 13 20 00 00");
    QTest::newRow("gap 128 is two bytes")
        << QByteArray("(;VS[19]PP[1]AB[ng])") << QByteArray("80 01 00 00 13 20 00 00");
    QTest::newRow("gap 361") << QByteArray("(;VS[19]PP[1]AW[ss])")
                             << QByteArray("00 E9 02 00 13 20 00 00");
    QTest::newRow("points 199 and 299")
        << QByteArray("(;VS[19]PP[3]AB[jk]AW[op])") << QByteArray("C8 01 00 AC 02 00 13 60 00 00");
    QTest::newRow("no stones") << QByteArray("(;VS[13]DF[10]PP[1])")
                               << QByteArray("00 00 0D 2A 00 00");
    QTest::newRow("head flag, kill, 上級")
        << QByteArray("(;VS[13]HF[1]DF[20]PP[2])") << QByteArray("00 00 8D 54 00 00");
    QTest::newRow("one node") << QByteArray("(;VS[19]PP[1];B[df]OC[11]OB[1]RP[1])")
                              << QByteArray("00 00 13 20 01 00 FF 1F 05 8B 01");
    QTest::newRow("child of node 0")
        << QByteArray("(;VS[19]PP[1];B[aa];W[ba]OC[60])")
        << QByteArray("00 00 13 20 02 00 FF 07 00 00 00 00 08 00 3C 00");
    QTest::newRow("stones in point order whatever the written order")
        << QByteArray("(;VS[19]PP[1]AB[ba][aa]AW[ab])") << QByteArray("01 01 00 14 00 13 20 00 00");
}

void TestDataTool::encodingExamples() {
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, block);
    std::vector<SourceProblem> out;
    QString report;
    bool warned = false;
    QVERIFY2(Convert(DataSet::S1, source, out, report, warned), qPrintable(report));
    QCOMPARE(Hex(EncodeProblem(out[0].problem)), block);
    // And the decoder agrees.
    Problem back;
    QVERIFY(DecodeProblem(FromHex(block.constData()), back));
    QCOMPARE(Hex(EncodeProblem(back)), block);
}

void TestDataTool::indexTemplateAndComments() {
    ProblemSets sets;
    Problem a;
    a.Difficulty = 10;
    a.ViewSize = 13;
    Problem b = a;
    b.Difficulty = 30;
    b.gInitBoard[0] = kBlack;
    Problem c = a;
    c.Difficulty = 0;
    Problem d = a;
    d.Difficulty = 20;
    sets.problems[0] = {a, b};
    sets.problems[1] = {c};
    sets.problems[2] = {d, d};
    sets.comments[1] = {QStringLiteral("あ,い")};
    sets.comments[2] = {QString(), QStringLiteral("う")};
    DataFiles files;
    std::vector<Diagnostic> diags;
    QVERIFY(BuildDataFiles(sets, files, diags));
    QVERIFY(diags.empty());

    // Index: end offsets, 32-bit little-endian.
    QCOMPARE(Hex(files.dt[0]), QByteArray("00 00 0D 0A 00 00 01 00 00 0D 1E 00 00"));
    QCOMPARE(Hex(files.dr[0]), QByteArray("06 00 00 00 0D 00 00 00"));
    QCOMPARE(files.dr[1].size(), 4);

    // Template: thinking time 60, levels at the global index, nothing else.
    QCOMPARE(files.psn.size(), 12248);
    QByteArray expected(12248, '\0');
    expected[0] = 60;
    expected[248] = 10;
    expected[252] = 30;
    expected[256] = 0;  // s1 problem: no level
    expected[260] = 20; // s2 problems follow s1
    expected[264] = 20;
    QCOMPARE(Hex(files.psn), Hex(expected));

    // Comment lists: one quoted field per problem, CR LF, Shift-JIS.
    QCOMPARE(Hex(files.txt[0]), QByteArray("22 82 A0 2C 82 A2 22 0D 0A"));
    QCOMPARE(Hex(files.txt[1]), QByteArray("22 22 0D 0A 22 82 A4 22 0D 0A"));
    // The library's reader gets the fields back.
    const std::vector<QString> fields = ParseCommentFields(DecodeSjis(files.txt[1]));
    QCOMPARE(fields.size(), std::size_t(2));
    QCOMPARE(fields[0], QString());
    QCOMPARE(fields[1], QStringLiteral("う"));

    // Empty sets compile to empty files.
    ProblemSets none;
    QVERIFY(BuildDataFiles(none, files, diags));
    QVERIFY(files.dr[0].isEmpty() && files.dt[2].isEmpty() && files.txt[0].isEmpty());
    QCOMPARE(files.psn.size(), 12248);
}

void TestDataTool::sourceFaults_data() {
    QTest::addColumn<QString>("set");
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<bool>("compiles"); // only warnings
    QTest::addColumn<QString>("expected");

    const QByteArray live = kLive;
    auto with = [&](const char* from, const char* to) {
        return QByteArray(live).replace(from, to);
    };

    // Faults of the list.
    QTest::newRow("illegal move: occupied")
        << "abc" << with("(;B[aa];W[ba]", "(;B[aa];W[da]") << false
        << "t.sgf:5:8: problem 1: W[da]: illegal move: the point is occupied";
    QTest::newRow("illegal move: suicide")
        << "abc" << QByteArray("(;VS[13]DF[10]PP[2]AW[ba][ab]\n;B[aa]OC[5]RP[1])") << false
        << "t.sgf:2:1: problem 1: B[aa]: illegal move: suicide";
    QTest::newRow("leaf without outcome") << "abc" << with("(;B[ba]OC[10]RP[1])", "(;B[ba]RP[1])")
                                          << false << "B[ba]: the line ends without an outcome";
    QTest::newRow("class without a row")
        << "abc" << with("OC[10]", "OC[8]") << false << "outcome class 8 has no row";
    QTest::newRow("unknown outcome name")
        << "abc" << with("OC[10]", "OC[黒いき]") << false << "neither a class number";
    {
        QByteArray many = "(;VS[19]PP[1]";
        for (int i = 0; i < 1001; ++i)
            many += "(;B[aa]OC[10])";
        many += ")";
        QTest::newRow("more than 1000 nodes") << "abc" << many << false << "1001 move nodes";
    }
    {
        QByteArray wide = "(;VS[19]DF[10]PP[1]";
        for (int i = 0; i < 42; ++i)
            wide += QByteArray("(;B[") + char('a' + i % 19) + char('a' + i / 19) + "]OC[10]RP[1])";
        wide += ")";
        QTest::newRow("more than 41 children") << "abc" << wide << false << "42 first moves";
    }
    {
        // 402 moves: the depth fault is reported whatever else is wrong.
        QByteArray deep = "(;VS[19]DF[10]PP[1]";
        for (int i = 0; i < 402; ++i)
            deep += QByteArray(";") + (i % 2 == 0 ? "B[" : "W[") + char('a' + i % 19) +
                    char('a' + (i / 19) % 19) + "]";
        deep += "OC[10])";
        QTest::newRow("more than 401 moves deep") << "abc" << deep << false << "line of 402 moves";
    }
    QTest::newRow("setup stone outside the corner")
        << "abc" << with("AB[da]", "AB[da][na]") << false
        << "setup stone outside the 13x13 corner: AB[na]";
    QTest::newRow("move outside the corner")
        << "abc" << with("(;B[ca];W[ba]", "(;B[ca];W[an]") << false
        << "W[an]: the move is outside the 13x13 corner";
    QTest::newRow("DF not a level in abc")
        << "abc" << with("DF[10]", "DF[15]") << false << "DF (Difficulty) 15 is not 10, 20 or 30";
    QTest::newRow("DF missing in abc")
        << "abc" << with("DF[10]", "") << false << "DF (Difficulty) missing";
    QTest::newRow("colours not alternating")
        << "abc" << with("(;B[aa];W[ba]", "(;B[aa];B[ba]") << false
        << "B[ba]: colours do not alternate, White is to play";
    QTest::newRow("white first") << "abc" << with("(;B[ba]OC", "(;W[ba]OC") << false
                                 << "W[ba]: colours do not alternate, Black is to play";
    QTest::newRow("best does not fit the aim (warning)")
        << "abc" << with("PP[1]", "PP[2]") << true
        << "warning: the best result 黒生き (100) does not fit the aim 2";
    QTest::newRow("best is a failure (warning)")
        << "abc" << with("OC[10]", "OC[55]") << true
        << "warning: the best result 白生き (550) is a failure";
    QTest::newRow("no RP line (warning)")
        << "abc" << with("RP[1]", "") << true << "warning: no RP line: View has nothing to show";
    QTest::newRow("wrong first move without a reply (warning)")
        << "abc" << with("(;B[ca];W[ba]OC[60])", "(;B[ca]OC[60])") << true
        << "t.sgf:6:2: problem 1: warning: B[ca]: a wrong first move without White's refutation";
    QTest::newRow("wrong first move White answers by waiting")
        << "abc" << with("(;B[ca];W[ba]OC[60])", "(;B[ca]OC[60]WA[1])") << true << "";
    QTest::newRow("WA[0] is no wait (warning)")
        << "abc" << with("(;B[ca];W[ba]OC[60])", "(;B[ca]OC[60]WA[0])") << true
        << "B[ca]: a wrong first move without White's refutation";
    QTest::newRow("WA on White's move")
        << "abc" << with("(;B[ca];W[ba]OC[60])", "(;B[ca];W[ba]OC[60]WA[1])") << false
        << "WA (White waits) belongs on a Black move that ends its line";
    QTest::newRow("WA on a move the line goes on from")
        << "abc" << with("(;B[ca];W[ba]OC[60])", "(;B[ca]WA[1];W[ba]OC[60])") << false
        << "WA (White waits) belongs on a Black move that ends its line";
    QTest::newRow("two variations with the same move (warning)")
        << "abc" << with("(;B[ca];W[ba]", "(;B[aa];W[ba]") << true
        << "t.sgf:6:2: problem 1: warning: B[aa]: the same move as an earlier variation (node 1)";
    QTest::newRow("no correct RP line (warning)")
        << "abc" << with("(;B[ba]OC[10]RP[1])", "(;B[ba]OC[10])") << true
        << "warning: no RP line reaches the best result";

    // Faults of the source form.
    QTest::newRow("syntax error") << "abc" << with("(;B[ca];W[ba]", "(;B[ca];W[ba]]") << false
                                  << "t.sgf:6:14: unexpected character ']'";
    QTest::newRow("pass") << "abc" << with("(;B[aa];W[ba]", "(;B[aa];W[]") << false
                          << "W[]: passes are not allowed";
    QTest::newRow("tt pass") << "abc" << with("(;B[aa];W[ba]", "(;B[aa];W[tt]") << false
                             << "passes are not allowed";
    QTest::newRow("setup below the root") << "abc" << with("(;B[aa];W[ba]", "(;B[aa]AW[ja];W[ba]")
                                          << false << "only allowed in the root";
    QTest::newRow("move in the root")
        << "abc" << with("PP[1]", "PP[1]B[ia]") << false << "root node must not carry a move";
    QTest::newRow("VS missing") << "abc" << with("VS[13]", "") << false << "VS (ViewSize) missing";
    QTest::newRow("VS too large") << "abc" << with("VS[13]", "VS[20]") << false
                                  << "ViewSize must be 1-19";
    for (const char* vs : {"VS[9]", "VS[12]", "VS[14]", "VS[1]"})
        QTest::newRow(vs) << "abc" << with("VS[13]", vs) << false
                          << "stones have tiles only on a view of 13 or 19 lines";
    QTest::newRow("VS 19") << "s1" << with("VS[13]", "VS[19]") << true << "";
    QTest::newRow("PP missing") << "abc" << with("PP[1]", "") << false << "PP (aim) missing";
    QTest::newRow("board not 19") << "abc" << with("SZ[19]", "SZ[9]") << false << "always 19x19";
    QTest::newRow("point set twice")
        << "abc" << with("AB[da]", "AB[da][ea]") << false << "point ea is set twice";
    QTest::newRow("OB not 0/1") << "abc" << with("OC[10]", "OC[10]OB[2]") << false
                                << "best must be 0 or 1";
    QTest::newRow("NN twice") << "abc"
                              << with("(;B[ba]OC", "(;B[ba]NN[1]OC")
                                     .replace("(;B[aa];W[ba]", "(;B[aa]NN[1];W[ba]NN[2]")
                                     .replace("(;B[ca];W[ba]", "(;B[ca]NN[3];W[ba]NN[4]")
                              << false << "NN[1] is given twice";
    QTest::newRow("CM with a quote")
        << "s1" << with("PP[1]", "PP[1]CM[a\"b]") << false << "CM must not contain";
    QTest::newRow("CM on two lines")
        << "s2" << with("PP[1]", "PP[1]CM[a\nb]") << false << "CM must be a single line";
    QTest::newRow("CM not Shift-JIS")
        << "s2" << with("PP[1]", "PP[1]CM[\xF0\x9F\x98\x80]") << false << "Shift-JIS cannot store";
    QTest::newRow("CM in abc (warning)")
        << "abc" << with("PP[1]", "PP[1]CM[x]") << true << "warning: CM is only used in s1 and s2";
    QTest::newRow("unknown property (warning)")
        << "abc" << with("OC[10]", "OC[10]QQ[1]") << true << "warning: unknown property QQ";
    QTest::newRow("unknown aim (warning)")
        << "abc" << with("PP[1]", "PP[5]") << true << "warning: PP (aim) 5 is unknown";
    QTest::newRow("not UTF-8") << "abc" << with("GN", "GN").append("(;C[\x82\xA0])") << false
                               << "t.sgf:7:5: the file is not UTF-8";
    QTest::newRow("other charset")
        << "abc" << with("SZ[19]", "SZ[19]CA[Shift_JIS]") << false << "sources must be UTF-8";
    QTest::newRow("DF is free outside abc") << "s1" << with("DF[10]", "DF[15]") << true << "";

    // Aim 0 ("play one move"): the goal is named and the lines end in its classes.
    auto goal = [&](const char* gl) {
        return with("PP[1]", gl).replace("OC[10]", "OC[12]").replace("OC[60]", "OC[黒失敗]");
    };
    QTest::newRow("aim 0, connect") << "abc" << goal("PP[0]GL[connect]") << true << "";
    QTest::newRow("aim 0, cut, 黒損 on a line")
        << "abc" << goal("PP[0]GL[cut]").replace("(;B[ca];W[ba]OC[黒失敗])", "(;B[ca];W[ba]OC[58])")
        << true << "";
    QTest::newRow("aim 0 without its goal")
        << "abc" << goal("PP[0]") << false << "PP[0] needs its goal: GL[connect] or GL[cut]";
    QTest::newRow("aim 0, unknown goal")
        << "abc" << goal("PP[0]GL[live]") << false << "GL[live]: the goal is connect or cut";
    QTest::newRow("aim 0 with HF")
        << "abc" << goal("PP[0]GL[cut]HF[0]") << false << "HF is not given with PP[0]: GL[cut]";
    QTest::newRow("goal on a live problem") << "abc" << with("PP[1]", "PP[1]GL[cut]") << false
                                            << "GL (the goal) belongs to PP[0] problems only";
    QTest::newRow("aim 0, a line ending in life")
        << "abc" << with("PP[1]", "PP[0]GL[connect]").replace("OC[60]", "OC[57]") << false
        << "B[ba]: 黒生き (100) in a PP[0] problem";
    QTest::newRow("aim 0, a line ending in 長生")
        << "abc" << goal("PP[0]GL[connect]").replace("OC[黒失敗]RP", "OC[62]RP") << false
        << "W[ba]: 長生(黒失敗) (620) in a PP[0] problem";
}

void TestDataTool::sourceFaults() {
    QFETCH(QString, set);
    QFETCH(QByteArray, source);
    QFETCH(bool, compiles);
    QFETCH(QString, expected);
    DataSet ds;
    QVERIFY(DataSetFromName(set, ds));
    std::vector<SourceProblem> out;
    QString report;
    bool warned = false;
    const bool ok = Convert(ds, source, out, report, warned);
    QVERIFY2(ok == compiles, qPrintable(report));
    QVERIFY2(report.contains(expected), qPrintable(report));
    if (expected.isEmpty()) QVERIFY2(report.isEmpty(), qPrintable(report));
}

void TestDataTool::tooManyCommentFields() {
    const QString src = tmp_.filePath("fields/src");
    QByteArray many;
    for (int i = 0; i < 126; ++i)
        many += kLive;
    WriteFile(src + "/s1/a.sgf", many);
    WriteFile(src + "/s2/a.sgf", many.left(many.size() - 2 * static_cast<int>(strlen(kLive))));
    QString err;
    QCOMPARE(Run({"compile", src, tmp_.filePath("fields/out")}, nullptr, &err), 0); // 250 fields
    WriteFile(src + "/s2/a.sgf", many);
    QCOMPARE(Run({"compile", src, tmp_.filePath("fields/out2")}, nullptr, &err), 1);
    QVERIFY2(err.contains("252 comment fields"), qPrintable(err));
    QVERIFY(!QFile::exists(tmp_.filePath("fields/out2/abc.dr")));
}

void TestDataTool::tooManyProblems() {
    const QString src = tmp_.filePath("many/src");
    QByteArray many;
    for (int i = 0; i < 3001; ++i)
        many += kLive;
    WriteFile(src + "/abc/a.sgf", many);
    QString err;
    QCOMPARE(Run({"compile", src, tmp_.filePath("many/out")}, nullptr, &err), 1);
    QVERIFY2(err.contains("3001 problems: at most 3000"), qPrintable(err));
}

void TestDataTool::compileWritesNothingOnFault() {
    const QString out = tmp_.filePath("keep/out");
    QString err;
    QCOMPARE(Run({"compile", QStringLiteral(VELMORA_SOURCE_DIR "/tests/data/problems"), out},
                 nullptr, &err),
             0);
    const QByteArray before = ReadFile(out + "/abc.dt");
    const QString src = tmp_.filePath("keep/src");
    WriteFile(src + "/abc/1.sgf", QByteArray(kLive).replace("OC[60]", "OC[8]"));
    QCOMPARE(Run({"compile", src, out}, nullptr, &err), 1);
    QVERIFY(err.contains("nothing written"));
    QCOMPARE(ReadFile(out + "/abc.dt"), before);
    // Warnings pass, unless --strict.
    WriteFile(src + "/abc/1.sgf", QByteArray(kLive).replace("RP[1]", ""));
    QCOMPARE(Run({"compile", "--strict", src, out}, nullptr, &err), 1);
    QCOMPARE(Run({"compile", src, out}, nullptr, &err), 0);
    QVERIFY(err.contains("warning: no RP line"));
}

void TestDataTool::checkerFaults_data() {
    using Patch = std::function<void(const QString& dir)>;
    QTest::addColumn<Patch>("patch");
    QTest::addColumn<QString>("expected");

    // Patch one byte of the first abc block (the live problem).
    auto patchBlock = [](std::function<void(QByteArray & block)> change) {
        return Patch([change](const QString& dir) {
            QByteArray dt = ReadFile(dir + "/abc.dt");
            const QByteArray dr = ReadFile(dir + "/abc.dr");
            const int end =
                static_cast<unsigned char>(dr[0]) | (static_cast<unsigned char>(dr[1]) << 8);
            QByteArray block = dt.left(end);
            change(block);
            QCOMPARE(block.size(), end);
            WriteFile(dir + "/abc.dt", block + dt.mid(end));
        });
    };
    auto patchFile = [](const char* name, std::function<void(QByteArray&)> change) {
        return Patch([name, change](const QString& dir) {
            QByteArray b = ReadFile(dir + "/" + name);
            change(b);
            WriteFile(dir + "/" + name, b);
        });
    };

    QTest::newRow("index length not a multiple of 4")
        << patchFile("abc.dr", [](QByteArray& b) { b.append('\0'); }) << "abc.dr: ";
    QTest::newRow("index past the block file")
        << patchFile("abc.dr", [](QByteArray& b) { b[b.size() - 4] = char(0x7F); }) << "abc.dr: ";
    QTest::newRow("index going backwards") << patchFile("abc.dr", [](QByteArray& b) {
        b[4] = 1;
        b[5] = 0;
    }) << "abc.dr: ";
    QTest::newRow("bytes after the last problem")
        << patchFile("abc.dt", [](QByteArray& b) { b.append("xyz"); })
        << "abc.dt: 3 bytes after the last problem";
    QTest::newRow("block cut short") << patchFile("abc.dr", [](QByteArray& b) { b[0] = 10; })
                                     << "abc.dt: problem 1: the block is corrupt";
    QTest::newRow("more than 1000 nodes") << patchBlock([](QByteArray& b) {
        b[NodeStart(b) - 2] = char(0xE9);
        b[NodeStart(b) - 1] = 3;
    }) << "abc.dt: problem 1: the block is corrupt";
    QTest::newRow("parent that does not exist")
        << patchBlock([](QByteArray& b) { b[NodeStart(b) + 2 * 5] = 7; })
        << "abc.dt: problem 1: the block is corrupt";
    QTest::newRow("not the exact layout") << Patch([](const QString& dir) {
        // Gap 4 written in the two-byte form: decodes the same.
        QByteArray dt = ReadFile(dir + "/abc.dt");
        QCOMPARE(int(dt[0]), 4);
        dt[0] = char(0x84);
        dt.insert(1, '\0');
        WriteFile(dir + "/abc.dt", dt);
        QByteArray dr = ReadFile(dir + "/abc.dr");
        for (int k = 0; k < dr.size(); k += 4)
            dr[k] = char(dr[k] + 1);
        WriteFile(dir + "/abc.dr", dr);
    }) << "abc.dt: problem 1: the block is not in the exact layout";
    QTest::newRow("illegal move") << patchBlock([](QByteArray& b) {
        // Node 1 (B[aa]) becomes B[da], on a black stone.
        const qsizetype at = NodeStart(b) + 5 + 1;
        b[at] = char((3 << 3) | (b[at] & 7));
    }) << "abc.dt: problem 1: node 1 B[da]: illegal move: the point is occupied";
    QTest::newRow("outcome class without a row")
        << patchBlock([](QByteArray& b) { b[NodeStart(b) + 3] = 8; })
        << "abc.dt: problem 1: the block is corrupt: ノード0の結果コード (80) "
           "は結果の表にありません";
    QTest::newRow("move outside the corner")
        << patchBlock([](QByteArray& b) { b[NodeStart(b) + 2] = 14; })
        << "node 0 B[bo]: the move is outside the 13x13 corner";
    QTest::newRow("ViewSize without stone tiles")
        << patchBlock([](QByteArray& b) { b[NodeStart(b) - 4] = 9; })
        << "abc.dt: problem 1: VS (ViewSize) 9: stones have tiles only on a view of 13 or 19";
    QTest::newRow("ViewSize 0") << patchBlock([](QByteArray& b) { b[NodeStart(b) - 4] = 0; })
                                << "VS (ViewSize) 0 is outside";
    QTest::newRow("DF not a level in abc")
        << patchBlock([](QByteArray& b) { b[NodeStart(b) - 3] = char(32 + 11); })
        << "abc.dt: problem 1: DF (Difficulty) 11";
    QTest::newRow("aim 0 with a line ending in life")
        << patchBlock([](QByteArray& b) { b[NodeStart(b) - 3] = char(10); })
        << "abc.dt: problem 1: node 0 B[ba]: 黒生き (100) in a PP[0] problem";
    QTest::newRow("template of the wrong size")
        << patchFile("vm2.psn", [](QByteArray& b) { b.chop(1); }) << "vm2.psn: 12247 bytes";
    QTest::newRow("template level differs")
        << patchFile("vm2.psn", [](QByteArray& b) { b[248] = 30; })
        << "vm2.psn: 1 levels differ from the problems' Difficulty; abc problem 1 has Level 30";
    QTest::newRow("template with statistics")
        << patchFile("vm2.psn", [](QByteArray& b) { b[249] = 1; })
        << "vm2.psn: 1 problem entries carry";
    QTest::newRow("template thinking time")
        << patchFile("vm2.psn", [](QByteArray& b) { b[0] = 0; }) << "vm2.psn: thinking time 0";
    QTest::newRow("comment list missing")
        << Patch([](const QString& dir) { QFile::remove(dir + "/s1.txt"); })
        << "s1.txt: the comment list is missing";
    QTest::newRow("more than 250 comment fields") << Patch([](const QString& dir) {
        QByteArray b;
        for (int i = 0; i < 251; ++i)
            b += "\"\"\r\n";
        WriteFile(dir + "/s2.txt", b);
    }) << "comment fields: at most 250 are allowed";
    QTest::newRow("comment list in another form (warning only)")
        << patchFile("s2.txt", [](QByteArray& b) { b.replace("\r\n", "\n"); })
        << "s2.txt: warning: not in the form compile writes";
    QTest::newRow("block file missing")
        << Patch([](const QString& dir) { QFile::remove(dir + "/s2.dt"); }) << "s2.dt: ";
    QTest::newRow("more than 3000 problems") << Patch([](const QString& dir) {
        // 3001 empty index entries over an empty block file.
        WriteFile(dir + "/s1.dr", QByteArray(3001 * 4, '\0'));
        WriteFile(dir + "/s1.dt", QByteArray());
    }) << "problems: at most 3000 are allowed in all";
}

void TestDataTool::checkerFaults() {
    using Patch = std::function<void(const QString& dir)>;
    QFETCH(Patch, patch);
    QFETCH(QString, expected);
    static int round = 0;
    const QString dir = tmp_.filePath(QStringLiteral("corrupt%1").arg(++round));
    QDir().mkpath(dir);
    for (const QString& name : DataFileNames())
        QVERIFY(QFile::copy(good_ + "/" + name, dir + "/" + name));
    QString out;
    QCOMPARE(Run({"check", dir}, &out), 0);
    QVERIFY2(out.isEmpty(), qPrintable(out));
    patch(dir);
    const bool warningOnly = expected.contains("warning:");
    QCOMPARE(Run({"check", dir}, &out), warningOnly ? 0 : 1);
    QVERIFY2(out.contains(expected), qPrintable(out));
    QCOMPARE(Run({"check", "--strict", dir}), 1);
    // One line per fault, each naming its file.
    for (const QString& line : out.split('\n', Qt::SkipEmptyParts))
        QVERIFY2(line.contains(QRegularExpression(
                     "^(abc|s1|s2)\\.(dr|dt|txt)|^vm2\\.psn|^all sets|^s1\\.txt, s2\\.txt")),
                 qPrintable(line));
}

void TestDataTool::mutatedSourcesNeverCrash() {
    // Byte mutations of a good source: every result is either a problem or a
    // fault with a position inside the file.
    std::mt19937 rng(7);
    const QByteArray base = QByteArray(kLive) + kKill;
    const char pool[] = "();[]\\BWabcsz019OCRPNNVSDFPP:\n \xE7\x99\xBD";
    for (int round = 0; round < 2000; ++round) {
        QByteArray text = base;
        const int edits = 1 + static_cast<int>(rng() % 4);
        for (int e = 0; e < edits; ++e) {
            const int at = static_cast<int>(rng() % static_cast<unsigned>(text.size()));
            const char c = pool[rng() % (sizeof(pool) - 1)];
            switch (rng() % 3) {
            case 0:
                text[at] = c;
                break;
            case 1:
                text.insert(at, c);
                break;
            default:
                text.remove(at, 1);
                break;
            }
        }
        for (DataSet set : {DataSet::Abc, DataSet::S1}) {
            std::vector<SourceProblem> out;
            std::vector<Diagnostic> diags;
            const bool ok = ProblemsFromSource(text, set, QStringLiteral("m.sgf"), out, diags);
            if (!ok) QVERIFY(HasErrors(diags));
            for (const SourceProblem& p : out)
                QVERIFY(p.problem.hands >= 0 && p.problem.hands <= kMaxNodes);
        }
    }
}

void TestDataTool::randomTreesNeverCrash() {
    // The checker takes any node table: parents out of range, cycles,
    // moves off the board.
    std::mt19937 rng(11);
    for (int round = 0; round < 3000; ++round) {
        Problem p;
        p.ViewSize = static_cast<int16_t>(rng() % 130);
        p.Difficulty = static_cast<int16_t>(rng() % 32);
        p.ProbPurpose = static_cast<int16_t>(rng() % 8);
        for (int k = 0; k < 8; ++k)
            p.gInitBoard[rng() % 361] = static_cast<int16_t>(rng() % 3);
        p.hands = static_cast<int16_t>(rng() % 40);
        for (int n = 0; n < p.hands; ++n) {
            const unsigned r = rng() % 10;
            p.prev[n] = r < 4 ? kRoot : static_cast<int16_t>(rng() % (r < 9 ? p.hands + 1 : 2048));
            p.x[n] = static_cast<uint8_t>(rng() % (r == 0 ? 32 : 9));
            p.y[n] = static_cast<uint8_t>(rng() % (r == 1 ? 256 : 9));
            p.code[n] = static_cast<uint8_t>(rng() % 70);
            p.best[n] = static_cast<uint8_t>(rng() % 2);
            p.repl[n] = static_cast<uint8_t>(rng() % 3);
        }
        const std::vector<ProblemFault> faults = CheckProblem(p, DataSet::Abc);
        for (const ProblemFault& f : faults)
            QVERIFY(f.node >= -1 && f.node < p.hands);
        // A tree the checker passes is one the decoder accepts too.
        bool hard = false;
        for (const ProblemFault& f : faults)
            hard = hard || !f.warning;
        if (!hard) {
            Problem back;
            QString why;
            QVERIFY2(DecodeProblem(EncodeProblem(p), back, &why), qPrintable(why));
        }
    }
}

void TestDataTool::roundTripTestProblems() {
    const QString src = tmp_.filePath("rt1/src");
    const QString again = tmp_.filePath("rt1/out");
    DumpAll(good_, src);
    QString err;
    QCOMPARE(Run({"compile", src, again}, nullptr, &err), 0);
    CompareFolders(good_, again);
    // Whole sets in one file each give the same bytes too.
    const QString src2 = tmp_.filePath("rt1/src2");
    for (const char* set : {"abc", "s1", "s2"}) {
        QString text;
        QCOMPARE(Run({"dump", good_, set}, &text), 0);
        WriteFile(src2 + "/" + set + "/all.sgf", text.toUtf8());
    }
    QCOMPARE(Run({"compile", src2, tmp_.filePath("rt1/out2")}, nullptr, &err), 0);
    CompareFolders(good_, tmp_.filePath("rt1/out2"));
}

void TestDataTool::roundTripShippedProblems() {
    const QString dist = QStringLiteral(VELMORA_DIST_DIR);
    for (const QString& name : DataFileNames())
        QVERIFY2(QFile::exists(dist + "/" + name),
                 qPrintable(name + " is not in the program folder"));
    const QString src = tmp_.filePath("rt2/src");
    DumpAll(dist, src);
    QString err;
    QCOMPARE(Run({"compile", src, tmp_.filePath("rt2/out")}, nullptr, &err), 0);
    CompareFolders(dist, tmp_.filePath("rt2/out"));
}

void TestDataTool::roundTripUnusualNodeOrder() {
    // A valid data set need not number its nodes in pre-order: here children
    // come before their parents, inner nodes carry code/best/repl bytes, the
    // aim is unknown and the head flag is set.
    Problem p;
    p.ViewSize = 19;
    p.HeadFlag = 1;
    p.Difficulty = 20;
    p.ProbPurpose = 5;
    p.gInitBoard[19 + 1] = kWhite;
    p.hands = 4;
    // node 3: B[aa] (root child); node 0: W[ba] after 3; node 2: B[ab]
    // (root child, listed later); node 1: W[ca] after 2.
    const int16_t prev[] = {3, 2, kRoot, kRoot};
    const uint8_t xs[] = {1, 2, 0, 0};
    const uint8_t ys[] = {0, 0, 1, 0};
    for (int n = 0; n < 4; ++n) {
        p.prev[n] = prev[n];
        p.x[n] = xs[n];
        p.y[n] = ys[n];
    }
    p.code[0] = 55;
    p.code[1] = 60;
    p.best[1] = 1;
    p.code[3] = 12; // inner node: stored, not used
    p.best[3] = 1;
    p.repl[3] = 9;
    p.repl[1] = 1;
    ProblemSets sets;
    sets.problems[0] = {p};
    sets.problems[2] = {p, p};
    sets.comments[2] = {QStringLiteral("コメント, 読点付き"), QString()};
    DataFiles files;
    std::vector<Diagnostic> diags;
    QVERIFY(BuildDataFiles(sets, files, diags));
    const QString dir = tmp_.filePath("rt3/data");
    QString error;
    QVERIFY2(WriteDataFiles(dir, files, &error), qPrintable(error));
    QString out;
    QCOMPARE(Run({"check", dir}, &out), 0); // warnings only
    QVERIFY(out.contains("warning: PP (aim) 5 is unknown"));

    DumpAll(dir, tmp_.filePath("rt3/src"));
    QString err;
    QCOMPARE(Run({"compile", tmp_.filePath("rt3/src"), tmp_.filePath("rt3/out")}, nullptr, &err),
             0);
    CompareFolders(dir, tmp_.filePath("rt3/out"));
}

namespace {

// A random problem with a legal tree, numbered in a random order.
Problem RandomProblem(std::mt19937& rng) {
    Problem p;
    const int vs = rng() % 2 ? 13 : 19;
    p.ViewSize = static_cast<int16_t>(vs);
    p.HeadFlag = static_cast<int16_t>(rng() % 2);
    p.Difficulty = static_cast<int16_t>(10 * (1 + rng() % 3));
    p.ProbPurpose = static_cast<int16_t>(1 + rng() % 3);
    for (int k = static_cast<int>(rng() % 12); k > 0; --k)
        p.gInitBoard[(rng() % vs) + 19 * (rng() % vs)] = static_cast<int16_t>(1 + rng() % 2);

    struct Node {
        int parent; // -1: the root
        int x, y;
        Board board;
        int depth;
    };
    std::vector<Node> nodes;
    const int wanted = 1 + static_cast<int>(rng() % 60);
    for (int tries = 0; tries < 2000 && static_cast<int>(nodes.size()) < wanted; ++tries) {
        const int parent = static_cast<int>(rng() % (nodes.size() + 1)) - 1;
        const Board& before =
            parent < 0 ? p.gInitBoard : nodes[static_cast<std::size_t>(parent)].board;
        const int depth = parent < 0 ? 1 : nodes[static_cast<std::size_t>(parent)].depth + 1;
        const int x = static_cast<int>(rng() % vs);
        const int y = static_cast<int>(rng() % vs);
        PointList captures;
        if (!CheckMove(depth % 2 == 1 ? kBlack : kWhite, x, y, before, captures)) continue;
        Node n{parent, x, y, before, depth};
        ApplyMove(depth % 2 == 1 ? kBlack : kWhite, x, y, n.board);
        nodes.push_back(n);
    }
    std::vector<int> number(nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i)
        number[i] = static_cast<int>(i);
    std::shuffle(number.begin(), number.end(), rng);
    std::vector<bool> inner(nodes.size(), false);
    for (const Node& n : nodes)
        if (n.parent >= 0) inner[static_cast<std::size_t>(n.parent)] = true;
    p.hands = static_cast<int16_t>(nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const std::size_t k = static_cast<std::size_t>(number[i]);
        p.prev[k] = nodes[i].parent < 0
                        ? kRoot
                        : static_cast<int16_t>(number[static_cast<std::size_t>(nodes[i].parent)]);
        p.x[k] = static_cast<uint8_t>(nodes[i].x);
        p.y[k] = static_cast<uint8_t>(nodes[i].y);
        const bool leaf = !inner[i];
        p.code[k] = static_cast<uint8_t>(
            leaf || rng() % 4 == 0 ? OutcomeTable[rng() % kOutcomeRows].klass : 0);
        p.best[k] = static_cast<uint8_t>(rng() % 2);
        p.repl[k] = static_cast<uint8_t>(rng() % 3 == 0 ? 1 + rng() % 255 : 0);
    }
    return p;
}

} // namespace

void TestDataTool::roundTripRandomDataSets() {
    // Any data set the checker passes comes back byte for byte through
    // dump -> compile, whatever the node order and field values.
    std::mt19937 rng(2026);
    const QString comments[] = {QString(), QStringLiteral("黒先白死"), QStringLiteral("a, b"),
                                QStringLiteral("～と全角　空白"), QStringLiteral("x")};
    for (int round = 0; round < 6; ++round) {
        ProblemSets sets;
        for (int s = 0; s < kDataSetCount; ++s) {
            const int count = static_cast<int>(rng() % 8);
            for (int k = 0; k < count; ++k) {
                sets.problems[static_cast<std::size_t>(s)].push_back(RandomProblem(rng));
                if (s > 0)
                    sets.comments[static_cast<std::size_t>(s)].push_back(comments[rng() % 5]);
            }
        }
        DataFiles files;
        std::vector<Diagnostic> diags;
        QVERIFY(BuildDataFiles(sets, files, diags));
        const QString dir = tmp_.filePath(QStringLiteral("rnd%1/data").arg(round));
        QString error;
        QVERIFY2(WriteDataFiles(dir, files, &error), qPrintable(error));
        QString out;
        QCOMPARE(Run({"check", dir}, &out), 0); // outcomes are random: warnings only
        const QString src = tmp_.filePath(QStringLiteral("rnd%1/src").arg(round));
        DumpAll(dir, src);
        QString err;
        QCOMPARE(Run({"compile", src, tmp_.filePath(QStringLiteral("rnd%1/out").arg(round))},
                     nullptr, &err),
                 0);
        CompareFolders(dir, tmp_.filePath(QStringLiteral("rnd%1/out").arg(round)));
    }
}

void TestDataTool::toolOnDistFolder() {
    const QString exe = QStringLiteral(VELMORA_DIST_DIR "/velmora-data");
    QVERIFY(QFile::exists(exe));
    auto run = [&](const QStringList& args, QByteArray* out = nullptr) {
        QProcess proc;
        proc.start(exe, args);
        if (!proc.waitForFinished(120000)) return -100;
        if (out) *out = proc.readAllStandardOutput();
        return proc.exitStatus() == QProcess::NormalExit ? proc.exitCode() : -200;
    };
    QByteArray out;
    const int status = run({"check", QStringLiteral(VELMORA_DIST_DIR)}, &out);
    QVERIFY2(status == 0, out.constData());

    // The listing of our own compiled test problems.
    QCOMPARE(run({"list", good_, "abc"}, &out), 0);
    const QList<QByteArray> lines = out.split('\n');
    QCOMPARE(lines.size(), 4); // three problems and the final newline
    QCOMPARE(lines[0], QByteArray("1\t10\t1\t5\t100\t黒生き"));
    QCOMPARE(lines[1], QByteArray("2\t20\t2\t5\t50\t白死"));
    QCOMPARE(lines[2], QByteArray("3\t30\t2\t3\t51\t白死"));

    // Usage faults and missing problems.
    QCOMPARE(run({}), 2);
    QCOMPARE(run({"frobnicate"}), 2);
    QCOMPARE(run({"list", good_, "xyz"}), 2);
    QCOMPARE(run({"dump", good_, "abc", "4"}), 1);
    QCOMPARE(run({"dump", good_, "abc", "0"}), 1);
    QCOMPARE(run({"check", tmp_.filePath("no-such-folder")}), 1);
}

QTEST_GUILESS_MAIN(TestDataTool)
#include "test_datatool.moc"
