// The replay and examination logic of the view window, without widgets.
#include "modes/view/viewlogic.h"
#include "tests/common/problemset.h"
#include "rules/outcome.h"

#include <QtTest>

namespace {

int16_t At(const Board& b, int x, int y) {
    return b[size_t(x + 19 * y)];
}

// Three lines from the root: 白死 (2000), 黒生き (2000), 黒有利な１手ヨセコウ
// (1800), and a move without a stored line.
Problem ThreeLines() {
    TreeBuilder t;
    t.white({{0, 0}, {1, 0}});
    t.node(kRoot, 2, 0, 20, 0, 1);
    t.node(kRoot, 0, 1, 5, 0, 1);
    t.node(kRoot, 1, 1, 10, 0, 1);
    t.node(kRoot, 5, 5, 20, 0, 0);
    return t.problem();
}

// One line of four moves: B (0,1) takes the white stone at (0,0); W (4,4);
// B (5,5); W (6,6), ending in 白死.
Problem CaptureLine() {
    TreeBuilder t;
    t.white({{0, 0}}).black({{1, 0}});
    t.line(kRoot, {{0, 1}, {4, 4}, {5, 5}, {6, 6}}, 5);
    return t.problem();
}

} // namespace

class TestViewLogic : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitOutcomeTable(); }

    void singleLineLabel() {
        Problem p = CaptureLine();
        CalcAllResults(p);
        ReplayState s(p);
        s.LoadSequences();
        QCOMPARE(s.ReplCount(), 1);
        QCOMPARE(s.sequences.captions.size(), size_t(1));
        QCOMPARE(s.sequences.captions[0], QStringLiteral("正解　 - 白死"));
        QCOMPARE(s.gKeiros, 4);
        QCOMPARE(s.gNowNth, 0);
        QCOMPARE(s.gNowLoc, kRoot);
    }

    void threeLinesGradedBestFirst() {
        Problem p = ThreeLines();
        CalcAllResults(p);
        ReplayState s(p);
        s.LoadSequences();
        QCOMPARE(s.ReplCount(), 3);
        QCOMPARE(s.sequences.captions[0], QStringLiteral("正解１ - 白死"));
        QCOMPARE(s.sequences.captions[1], QStringLiteral("正解２ - 黒生き"));
        QCOMPARE(s.sequences.captions[2], QStringLiteral("失敗　 - １手ヨセコウ(黒有利)"));
        QCOMPARE(s.sequences.GradeLabel[3], QStringLiteral("　　"));
        // The 1800 line was stored first but comes last.
        QCOMPARE(s.sequences.ReplNodes[2], int16_t(0));
    }

    void moreThanFourLinesShowsFirstFour() {
        TreeBuilder t;
        for (int i = 0; i < 6; ++i)
            t.node(kRoot, i, 3, i < 2 ? 20 : 5, 0, 1);
        Problem p = t.problem();
        CalcAllResults(p);
        ReplayState s(p);
        s.LoadSequences();
        QCOMPARE(s.ReplCount(), 4);
        QCOMPARE(s.sequences.captions.size(), size_t(4));
        // Four 白死 lines (2000) before the two 1800 ones.
        for (int i = 0; i < 4; ++i)
            QCOMPARE(s.sequences.ReplNodes[size_t(i)], int16_t(i + 2));
        QCOMPARE(s.sequences.GradeLabel[3], QStringLiteral("正解４"));
    }

    void noStoredLine() {
        TreeBuilder t;
        t.node(kRoot, 3, 3, 5, 0, 0);
        Problem p = t.problem();
        CalcAllResults(p);
        ReplayState s(p);
        s.LoadSequences();
        QCOMPARE(s.ReplCount(), 0);
        QCOMPARE(s.gKeiros, 0);
        QVERIFY(!s.StepForward().moved);
        QVERIFY(!s.StepBackward());
        QCOMPARE(IdleButtons(s.gNowNth, s.gKeiros), PlayButtons{});
    }

    void buttonsAtBothEnds_data() {
        QTest::addColumn<int>("nth");
        QTest::addColumn<int>("keiros");
        QTest::addColumn<bool>("back");
        QTest::addColumn<bool>("forward");
        QTest::newRow("start") << 0 << 4 << false << true;
        QTest::newRow("middle") << 2 << 4 << true << true;
        QTest::newRow("end") << 4 << 4 << true << false;
        QTest::newRow("empty line") << 0 << 0 << false << false;
    }
    void buttonsAtBothEnds() {
        QFETCH(int, nth);
        QFETCH(int, keiros);
        QFETCH(bool, back);
        QFETCH(bool, forward);
        const PlayButtons b = IdleButtons(nth, keiros);
        QCOMPARE(b.rew, back);
        QCOMPARE(b.prev, back);
        QCOMPARE(b.playStop, forward);
        QCOMPARE(b.que, forward);
        QCOMPARE(b.next, forward);
        QVERIFY(!b.stop);
        const PlayButtons playing = PlayingButtons();
        QVERIFY(playing.stop && !playing.rew && !playing.prev && !playing.playStop &&
                !playing.que && !playing.next);
    }

    void texts_data() {
        QTest::addColumn<int>("nth");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("teban");
        QTest::newRow("start") << 0 << QStringLiteral("１手") << QStringLiteral("黒番");
        QTest::newRow("after three") << 3 << QStringLiteral("４手") << QStringLiteral("白番");
        QTest::newRow("two digits") << 10 << QStringLiteral("１１手") << QStringLiteral("黒番");
    }
    void texts() {
        QFETCH(int, nth);
        QFETCH(QString, number);
        QFETCH(QString, teban);
        QCOMPARE(MoveNumberText(nth), number);
        QCOMPARE(TebanText(nth), teban);
        QCOMPARE(NowKekkaText(50), QStringLiteral("「白死」になりました"));
    }

    void stepBackRestoresCapturedStones_data() {
        QTest::addColumn<bool>("whiteCaptures");
        QTest::newRow("black takes white") << false;
        QTest::newRow("white takes black") << true;
    }
    void stepBackRestoresCapturedStones() {
        QFETCH(bool, whiteCaptures);
        TreeBuilder t;
        if (!whiteCaptures) {
            // B (0,1), W (5,5), then B (1,1) takes the white stones at (0,0)
            // and (1,0).
            t.white({{0, 0}, {1, 0}}).black({{2, 0}});
            t.line(kRoot, {{0, 1}, {5, 5}, {1, 1}, {6, 6}}, 5);
        } else {
            // B (5,5), then W (0,1) takes the black stone at (0,0).
            t.black({{0, 0}}).white({{1, 0}});
            t.line(kRoot, {{5, 5}, {0, 1}, {6, 6}}, 55);
        }
        Problem p = t.problem();
        CalcAllResults(p);
        ReplayState s(p);
        s.LoadSequences();
        const Board start = s.board;
        const int16_t taken = whiteCaptures ? kBlack : kWhite;
        const int capturingStep = whiteCaptures ? 2 : 3;
        for (int i = 0; i < capturingStep; ++i)
            QVERIFY(s.StepForward().moved);
        QCOMPARE(At(s.board, 0, 0), kEmpty);
        QCOMPARE(At(s.board, whiteCaptures ? 0 : 1, 1), whiteCaptures ? kWhite : kBlack);
        QVERIFY(!s.captureLog.empty());
        QVERIFY(s.StepForward().moved); // one more, then back over both
        QVERIFY(s.StepBackward());
        QCOMPARE(At(s.board, 0, 0), kEmpty);
        QVERIFY(s.StepBackward());
        QCOMPARE(At(s.board, 0, 0), taken);
        if (!whiteCaptures) QCOMPARE(At(s.board, 1, 0), taken);
        QCOMPARE(At(s.board, whiteCaptures ? 0 : 1, 1), kEmpty);
        QVERIFY(s.captureLog.empty());
        while (s.StepBackward()) {
        }
        QCOMPARE(s.board, start);
        QCOMPARE(s.side, kBlack);
        QCOMPARE(s.gNowLoc, kRoot);
    }

    void stepToEndAndReport() {
        Problem p = CaptureLine();
        CalcAllResults(p);
        ReplayState s(p);
        s.LoadSequences();
        StepResult r;
        for (int i = 0; i < 4; ++i) {
            QVERIFY(!r.reachedEnd);
            r = s.StepForward();
            QVERIFY(r.moved);
            QVERIFY(!r.valueChanged);
        }
        QVERIFY(r.reachedEnd);
        QCOMPARE(s.gNowNth, 4);
        QCOMPARE(s.NowResult, int16_t(50));
        QCOMPARE(s.side, kBlack);
        QVERIFY(!s.StepForward().moved);
        QCOMPARE(s.gNowNth, 4);
    }

    void badMoveChangesValue() {
        // Best is 白死 by (2,2); the stored failure line plays (3,3) and ends
        // in 白生き.
        TreeBuilder t;
        t.node(kRoot, 2, 2, 5, 0, 1);
        t.line(kRoot, {{3, 3}, {4, 4}}, 55);
        Problem p = t.problem();
        CalcAllResults(p);
        ReplayState s(p);
        s.LoadSequences();
        QCOMPARE(s.ReplCount(), 2);
        s.SelectSequence(1);
        QCOMPARE(s.RootResult, int16_t(50));
        QVERIFY(s.StepForward().valueChanged);  // 白死 -> 白生き
        QVERIFY(!s.StepForward().valueChanged); // 白生き stays
    }

    void examineKeepsMoveCount() {
        Problem p = CaptureLine();
        CalcAllResults(p);
        const Problem before = p;
        ReplayState s(p);
        s.LoadSequences();
        for (int i = 0; i < 3; ++i)
            s.StepForward();
        const Board afterThree = s.board;
        const int16_t loc = s.gNowLoc;

        s.StartExamine();
        QVERIFY(s.ExamineOn);
        QCOMPARE(s.gNowNth, 3);
        QCOMPARE(s.side, kWhite);
        QCOMPARE(MoveNumberText(s.gNowNth), QStringLiteral("４手"));
        QCOMPARE(s.board, afterThree);

        // The first examined move is White's, the next Black's.
        QCOMPARE(s.ExamineMove(10, 10), ExamMoveResult::Played);
        QCOMPARE(At(s.board, 10, 10), kWhite);
        QCOMPARE(s.ExamineMove(10, 10), ExamMoveResult::Illegal); // occupied
        QCOMPARE(s.ExamineMove(11, 10), ExamMoveResult::Played);
        QCOMPARE(At(s.board, 11, 10), kBlack);
        QCOMPARE(s.gNowNth, 5);
        QVERIFY(s.ExamineTakeBack());
        QCOMPARE(At(s.board, 11, 10), kEmpty);
        QCOMPARE(s.side, kBlack);
        QCOMPARE(s.gNowNth, 4);

        s.EndExamine();
        QVERIFY(!s.ExamineOn);
        QCOMPARE(s.gNowLoc, loc);
        QCOMPARE(s.gNowNth, 3);
        QCOMPARE(s.side, kWhite);
        QCOMPARE(s.board, afterThree);
        QCOMPARE(p.hands, before.hands);
        QCOMPARE(p.gInitBoard, before.gInitBoard);
        QCOMPARE(p.kekkaCalc, before.kekkaCalc);
        QCOMPARE(p.gTurnOffset, int16_t(0));
        // The line goes on from there.
        QVERIFY(s.StepForward().reachedEnd);
        QCOMPARE(At(s.board, 6, 6), kWhite);
    }

    void examineCapturesAndTakesBack() {
        // Examining from the start: B (0,1) takes the white stone at (0,0);
        // taking it back puts the stone back.
        Problem p = CaptureLine();
        CalcAllResults(p);
        ReplayState s(p);
        s.LoadSequences();
        s.StartExamine();
        QCOMPARE(s.side, kBlack);
        QCOMPARE(s.ExamineMove(0, 1), ExamMoveResult::Played);
        QCOMPARE(At(s.board, 0, 0), kEmpty);
        QCOMPARE(s.ExamineMove(0, 0), ExamMoveResult::Illegal); // no liberty for White
        QCOMPARE(s.ExamineMove(5, 5), ExamMoveResult::Played);
        QCOMPARE(At(s.board, 5, 5), kWhite);
        QVERIFY(s.ExamineTakeBack());
        QVERIFY(s.ExamineTakeBack());
        QCOMPARE(At(s.board, 0, 0), kWhite);
        QCOMPARE(s.gNowLoc, kRoot);
        QVERIFY(!s.ExamineTakeBack()); // nothing left
        QCOMPARE(s.ExamineMove(19, 0), ExamMoveResult::Illegal);
        QCOMPARE(s.ExamineMove(-1, 3), ExamMoveResult::Illegal);
    }

    void examineRefusesWhenNodeTableFull() {
        Problem p = CaptureLine();
        CalcAllResults(p);
        ReplayState s(p);
        s.LoadSequences();
        s.StartExamine();
        // One slot left in the node table.
        p.hands = int16_t(kMaxNodes - 1);
        QCOMPARE(s.ExamineMove(9, 9), ExamMoveResult::Played);
        QCOMPARE(p.hands, int16_t(kMaxNodes));
        const Board full = s.board;
        QCOMPARE(s.ExamineMove(10, 10), ExamMoveResult::Full);
        QCOMPARE(s.board, full);
        QCOMPARE(p.hands, int16_t(kMaxNodes));
        QVERIFY(s.ExamineTakeBack());
        QCOMPARE(s.gNowLoc, kRoot);
        QCOMPARE(At(s.board, 9, 9), kEmpty);
    }
};

QTEST_GUILESS_MAIN(TestViewLogic)
#include "test_view_logic.moc"
