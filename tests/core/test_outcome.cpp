// The outcome table, minimax over the tree, grade labels and verdicts.
#include "rules/outcome.h"
#include "rules/rules.h"

#include <QtTest>

namespace {

// Builds a tree from (parent, code, best) triples; moves are spread over the
// board so that every line is legal.
Problem Tree(std::initializer_list<std::array<int, 3>> nodes) {
    Problem p;
    int n = 0;
    for (const auto& [parent, code, best] : nodes) {
        p.prev[n] = int16_t(parent < 0 ? kRoot : parent);
        p.x[n] = uint8_t(n % 19);
        p.y[n] = uint8_t(n / 19);
        p.code[n] = uint8_t(code);
        p.best[n] = uint8_t(best);
        ++n;
    }
    p.hands = int16_t(n);
    return p;
}

} // namespace

class TestOutcome : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitOutcomeTable(); }
    void decoderKnowsEveryClass();
    void texts_data();
    void texts();
    void values_data();
    void values();
    void blackTieKeepsLowerNode();
    void whiteMinimises();
    void emptyTree();
    void deeperTree();
    void replNodesBestFirst();
    void correctAnswer_data();
    void correctAnswer();
    void gradeLabels_data();
    void gradeLabels();
    void judge_data();
    void judge();
};

// The decoder refuses leaves whose class has no row: its list and the table
// must name the same classes.
void TestOutcome::decoderKnowsEveryClass() {
    QCOMPARE(kOutcomeClasses.size(), OutcomeTable.size());
    for (size_t i = 0; i < OutcomeTable.size(); ++i)
        QCOMPARE(int(kOutcomeClasses[i]), int(OutcomeTable[i].klass));
}

void TestOutcome::texts_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("r");
    QTest::addColumn<QString>("text");
    QTest::newRow("name of 45") << 0 << 45 << QString("長生（黒成功）");
    QTest::newRow("became of 45") << 1 << 45 << QString("『長生』になりました。");
    QTest::newRow("class 8 has no row") << 0 << 85 << QString("？？？");
    QTest::newRow("negative") << 1 << -1 << QString("？？？");
    QTest::newRow("best-was of 白死") << 2 << 50 << QString("最善は『白死』ですが、");
    QTest::newRow("ko name") << 0 << 301 << QString("本コウ(黒取り番)");
    QTest::newRow("shared texts row 18") << 1 << 510 << QString("『万年コウ』になりました。");
    QTest::newRow("last row") << 2 << 620 << QString("最善は『長生(黒失敗です)』ですが、");
    QTest::newRow("unknown kind") << 3 << 50 << QString();
}

void TestOutcome::texts() {
    QFETCH(int, kind);
    QFETCH(int, r);
    QFETCH(QString, text);
    QCOMPARE(OutcomeText(kind, r), text);
}

void TestOutcome::values_data() {
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("value");
    QTest::newRow("45") << 45 << 2005;
    QTest::newRow("599") << 599 << 1319;
    QTest::newRow("600") << 600 << 1300;
    QTest::newRow("120") << 120 << 2100;
    QTest::newRow("351") << 351 << 1601;
}

void TestOutcome::values() {
    QFETCH(int, r);
    QFETCH(int, value);
    QCOMPARE(int(ResultValue(r)), value);
}

void TestOutcome::blackTieKeepsLowerNode() {
    // Black to move at the root: 白死 (2000) and 長生（黒成功） (2000) tie.
    Problem p = Tree({{-1, 5, 0}, {-1, 4, 0}});
    QCOMPARE(CalcAllResults(p), int16_t(50));
    p = Tree({{-1, 4, 0}, {-1, 5, 0}});
    QCOMPARE(CalcAllResults(p), int16_t(40));
    // 黒死(曲り４目) beats 黒死 for Black.
    p = Tree({{-1, 60, 0}, {-1, 59, 0}});
    QCOMPARE(CalcAllResults(p), int16_t(590));
}

void TestOutcome::whiteMinimises() {
    // Root -> B move (node 0) -> White chooses between 白死 and 白生き.
    Problem p = Tree({{-1, 0, 0}, {0, 5, 0}, {0, 55, 0}, {-1, 10, 1}});
    QCOMPARE(CalcAllResults(p), int16_t(101));
    QCOMPARE(NodeResult(p, 0), int16_t(550));
    QCOMPARE(NodeResult(p, 3), int16_t(101));
    QCOMPARE(NodeResult(p, kRoot), int16_t(101));
    QCOMPARE(p.kekkaCalc[1], int16_t(550));
}

void TestOutcome::emptyTree() {
    Problem p;
    QCOMPARE(CalcAllResults(p), int16_t(-1));
    QCOMPARE(NodeResult(p, kRoot), int16_t(-1));
}

void TestOutcome::deeperTree() {
    // B a -> W (b: 白死, c: B d -> 白生き); Black's other try e -> 黒死.
    Problem p = Tree({{-1, 0, 0}, {0, 5, 1}, {0, 0, 0}, {2, 55, 0}, {-1, 60, 0}});
    // White answers a with c (白生き, 1300); e gives 黒死 (1300): the tie keeps a.
    QCOMPARE(CalcAllResults(p), int16_t(550));
    QCOMPARE(NodeResult(p, 2), int16_t(550));
    QCOMPARE(NodeResult(p, 0), int16_t(550));
}

void TestOutcome::replNodesBestFirst() {
    Problem p = Tree({{-1, 60, 0}, {-1, 5, 0}, {-1, 5, 1}, {-1, 55, 0}});
    p.repl = {};
    p.repl[0] = p.repl[1] = p.repl[2] = p.repl[3] = 1;
    CalcAllResults(p);
    QCOMPARE(ListReplNodes(p), (NodeList{2, 1, 0, 3}));
    p.repl[2] = 0;
    QCOMPARE(ListReplNodes(p), (NodeList{1, 0, 3}));
}

void TestOutcome::correctAnswer_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("best");
    QTest::addColumn<bool>("correct");
    QTest::newRow("same result") << 50 << 50 << true;
    QTest::newRow("other class same value") << 40 << 50 << true;
    QTest::newRow("lower digit") << 50 << 51 << false;
    QTest::newRow("not in tree") << -1 << 50 << false;
}

void TestOutcome::correctAnswer() {
    QFETCH(int, answer);
    QFETCH(int, best);
    QFETCH(bool, correct);
    QCOMPARE(IsCorrectAnswer(answer, best), correct);
}

void TestOutcome::gradeLabels_data() {
    QTest::addColumn<QList<int>>("results");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("two correct one failure")
        << QList<int>{45, 45, 600} << QStringList{"正解１", "正解２", "失敗　", "　　", "　　"};
    QTest::newRow("single correct")
        << QList<int>{50} << QStringList{"正解　", "　　", "　　", "　　", "　　"};
    QTest::newRow("one correct two failures")
        << QList<int>{50, 550, 600} << QStringList{"正解　", "失敗１", "失敗２", "　　", "　　"};
    QTest::newRow("values 2000 2000 1800")
        << QList<int>{50, 100, 200} << QStringList{"正解１", "正解２", "失敗　", "　　", "　　"};
    QTest::newRow("none") << QList<int>{} << QStringList{"　　", "　　", "　　", "　　", "　　"};
}

void TestOutcome::gradeLabels() {
    QFETCH(QList<int>, results);
    QFETCH(QStringList, labels);
    std::vector<int16_t> r;
    for (const int v : results)
        r.push_back(int16_t(v));
    const auto got = MakeGradeLabels(r);
    QStringList gotList(got.begin(), got.end());
    QCOMPARE(gotList, labels);
}

void TestOutcome::judge_data() {
    QTest::addColumn<int>("v0");
    QTest::addColumn<int>("v");
    QTest::addColumn<QString>("text");
    QTest::newRow("黒成功 reached") << 120 << 120 << QString("黒成功です。");
    QTest::newRow("黒成功 missed") << 120 << 50 << QString("黒失敗です。");
    QTest::newRow("exact") << 50 << 50 << QString("正解です。『白死』になりました。");
    QTest::newRow("digit lower") << 50 << 51
                                 << QString("準正解です（正解より多少損)。『白死』になりました。");
    QTest::newRow("other class of the same value is exact")
        << 50 << 40 << QString("正解です。『長生』になりました。");
    QTest::newRow("digit higher than best")
        << 100 << 101 << QString("準正解です（正解より多少損)。『黒生き』になりました。");
    QTest::newRow("failure") << 50 << 550
                             << QString("失敗です。最善は『白死』ですが、『白生き』になりました。");
}

void TestOutcome::judge() {
    QFETCH(int, v0);
    QFETCH(int, v);
    QFETCH(QString, text);
    QCOMPARE(JudgeResult(v0, v), text);
}

QTEST_GUILESS_MAIN(TestOutcome)
#include "test_outcome.moc"
