// The learn window's play state and caption rules on their own.
#include "learnfixture.h"
#include "modes/learn/learnlogic.h"

#include "rules/outcome.h"

#include <QtTest>

using namespace learn;

class TestLearnLogic : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InitOutcomeTable(); }

    void captions_data() {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        QTest::newRow("problem 0") << ProblemCaption(0) << QStringLiteral("#1");
        QTest::newRow("problem 1234") << ProblemCaption(1234) << QStringLiteral("#1235");
        QTest::newRow("task") << TaskCaption(50) << QStringLiteral("黒先白死");
        QTest::newRow("task without a result") << TaskCaption(-1) << QStringLiteral("黒先");
        QTest::newRow("move 0") << MoveNumberCaption(0) << QStringLiteral("１手");
        QTest::newRow("move 11") << MoveNumberCaption(11) << QStringLiteral("１２手");
        QTest::newRow("black") << SideCaption(0) << QStringLiteral("黒番");
        QTest::newRow("white") << SideCaption(3) << QStringLiteral("白番");
        QTest::newRow("comment wins")
            << PlayingComment(QStringLiteral("隅の形"), 2) << QStringLiteral("隅の形");
        QTest::newRow("statement")
            << PlayingComment(QString(), 1) << QStringLiteral("黒先で生きるまで打ってください");
    }
    void captions() {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }

    void stepping_data() {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("delta");
        QTest::addColumn<int>("expected");
        QTest::newRow("last wraps to first") << 24 << 25 << 1 << 0;
        QTest::newRow("first wraps to last") << 0 << 25 << -1 << 24;
        QTest::newRow("one problem") << 0 << 1 << 1 << 0;
        QTest::newRow("empty") << 0 << 0 << 1 << -1;
        QTest::newRow("past the end") << 40 << 25 << 1 << 1;
    }
    void stepping() {
        QFETCH(int, current);
        QFETCH(int, count);
        QFETCH(int, delta);
        QFETCH(int, expected);
        QCOMPARE(StepWrapped(current, count, delta), expected);
    }

    void deepLinesAndWideNodesFit() {
        // The deepest line a problem may hold (401 moves; points are reused,
        // replay places every stored move) and a node with 41 children.
        Problem p;
        p.ViewSize = 19;
        int prev = kRoot;
        for (int i = 0; i < kMaxPath; ++i) {
            p.prev[static_cast<size_t>(i)] = static_cast<int16_t>(prev);
            p.x[static_cast<size_t>(i)] = static_cast<uint8_t>((i % 361) % 19);
            p.y[static_cast<size_t>(i)] = static_cast<uint8_t>((i % 361) / 19);
            prev = i;
        }
        p.hands = kMaxPath;
        p.code[static_cast<size_t>(kMaxPath - 1)] = 5;
        for (int c = 0; c < kMaxChildren - 1; ++c) {
            const size_t i = static_cast<size_t>(p.hands++);
            p.prev[i] = kRoot;
            p.x[i] = static_cast<uint8_t>(c % 19);
            p.y[i] = static_cast<uint8_t>(10 + c / 19);
            p.code[i] = 55;
        }
        CalcAllResults(p);
        LearnState s;
        LearnReset(p, s);
        QCOMPARE(int(s.pos.children.size()), kMaxChildren);
        QCOMPARE(int(CandidateKinds(s.pos.children, s.pos.result).size()), kMaxChildren);
        int steps = 0;
        while (!s.settled() && LearnAdvance(p, s, 0))
            ++steps;
        QCOMPARE(steps, kMaxPath);
        QCOMPARE(s.historyDepth(), kMaxPath);
        QCOMPARE(int(s.pos.gNowNth), kMaxPath);
        QVERIFY(LearnRetreat(p, s));
        QCOMPARE(s.historyDepth(), kMaxPath - 1);
    }

    void retreatEndsAPendingStepBackOnBlack() {
        const Problem base = KillProblem();
        Problem p = base;
        CalcAllResults(p);
        LearnState s;
        LearnReset(p, s);
        QCOMPARE(s.v0, int16_t(50));
        QVERIFY(LearnAdvance(p, s, 0));
        QVERIFY(LearnAdvance(p, s, 0));
        s.timerAction = kTimerStepBack;
        QVERIFY(LearnRetreat(p, s)); // White to move again
        QCOMPARE(s.timerAction, int16_t(kTimerStepBack));
        QVERIFY(LearnRetreat(p, s)); // Black to move
        QCOMPARE(s.timerAction, int16_t(kTimerIdle));
        QVERIFY(!LearnRetreat(p, s));
        QVERIFY(!LearnAdvance(p, s, 5));
    }

    void backButtons() {
        QCOMPARE(BackButtons(0).prevPicture, QStringLiteral("1Prev002.bmp"));
        QCOMPARE(BackButtons(0).rewPicture, QStringLiteral("ToRoo002.bmp"));
        QVERIFY(!BackButtons(0).enabled);
        QCOMPARE(BackButtons(3).prevPicture, QStringLiteral("1Prev000.bmp"));
        QCOMPARE(BackButtons(3).rewPicture, QStringLiteral("ToRoo000.bmp"));
        QVERIFY(BackButtons(3).enabled);
    }

    void badMoves() {
        QVERIFY(!IsBadMove(50, 40)); // 白死 and 長生 have the same value
        QVERIFY(IsBadMove(50, 51));
        QVERIFY(IsBadMove(50, 550));
        QVERIFY(!IsBadMove(-1, 50));
    }
};

QTEST_MAIN(TestLearnLogic)
#include "test_learnlogic.moc"
