// The course list's ratio text and the trial's draw.
#include "library/draw.h"

#include <QtTest>
#include <map>

namespace {

struct World {
    PlayerRecord record;
    std::array<AnswerEntry, kTrialQuestions> sheet{};
    DrawScope scope;

    explicit World(int count, int levelFilter = 0, int base = 0) {
        scope.levelFilter = levelFilter;
        scope.probCount = count;
        scope.base = base;
        scope.record = &record;
        scope.sheet = &sheet;
        scope.questionNo = 0;
    }
    ProbStat& st(int p) { return record.Stat[static_cast<size_t>(scope.base + p)]; }
    void ask(int p) { // p becomes one of this trial's questions
        sheet[static_cast<size_t>(scope.questionNo)].ProbNo = static_cast<int16_t>(p);
        ++scope.questionNo;
    }
    QList<int> eligible(int mode) const {
        QList<int> out;
        for (int p = 0; p < scope.probCount; ++p)
            if (IsEligible(scope, mode, p)) out.append(p);
        return out;
    }
};

} // namespace

class TestTrialDraw : public QObject {
    Q_OBJECT
private slots:
    void ratio_data() {
        QTest::addColumn<int>("correct");
        QTest::addColumn<int>("answered");
        QTest::addColumn<QString>("text");
        QTest::newRow("none answered") << 0 << 0 << "-----";
        QTest::newRow("100") << 7 << 7 << "100.0";
        QTest::newRow("50") << 1 << 2 << " 50.0";
        QTest::newRow("0") << 0 << 9 << "  0.0";
        QTest::newRow("100/3") << 1 << 3 << " 33.3";
        QTest::newRow("200/3 is cut, not rounded") << 2 << 3 << " 66.6";
        QTest::newRow("5.5") << 11 << 200 << "  5.5";
        QTest::newRow("0.5 has no leading zero") << 1 << 200 << "   .5";
        QTest::newRow("0.0333") << 1 << 3000 << "   .0";
        // 57 / 100 * 100 is 56.99999999999999 in double precision: the
        // 15-digit rounding makes it 57.
        QTest::newRow("binary error rounds away") << 57 << 100 << " 57.0";
        QTest::newRow("damaged counts stay five wide") << 300 << 2 << "999.9";
    }
    void ratio() {
        QFETCH(int, correct);
        QFETCH(int, answered);
        QFETCH(QString, text);
        QCOMPARE(FormatRatio(correct, answered), text);
        QCOMPARE(FormatRatio(correct, answered).size(), 5);
    }

    void eligibleByMode_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<int>>("expected");
        // Problems 0..3: never asked, asked and wrong, asked and right,
        // not asked but marked correct (a left-over flag).
        QTest::newRow("unasked") << MakeQUnasked << QList<int>{0, 3};
        QTest::newRow("wrong first") << MakeQWrongFirst << QList<int>{1};
        QTest::newRow("mixed") << MakeQMixed << QList<int>{0, 1, 3};
        QTest::newRow("all") << MakeQAll << QList<int>{0, 1, 2, 3};
        QTest::newRow("unknown mode") << 4 << QList<int>{};
        QTest::newRow("negative mode") << -1 << QList<int>{};
    }
    void eligibleByMode() {
        QFETCH(int, mode);
        QFETCH(QList<int>, expected);
        World w(4);
        w.st(1).Asked = 1;
        w.st(2).Asked = 1;
        w.st(2).Correct = 1;
        w.st(3).Correct = 1;
        QCOMPARE(w.eligible(mode), expected);
        QCOMPARE(CountEligible(w.scope, mode), expected.size());
    }

    void levelFilterAndRepeats() {
        World w(6, 20, 100);
        const uint8_t levels[6] = {20, 10, 20, 30, 20, 0};
        for (int p = 0; p < 6; ++p)
            w.st(p).Level = levels[p];
        QCOMPARE(w.eligible(MakeQAll), (QList<int>{0, 2, 4}));
        w.ask(2);
        QCOMPARE(w.eligible(MakeQAll), (QList<int>{0, 4}));
        // Only the entries before the current question count as asked.
        w.sheet[5].ProbNo = 4;
        QCOMPARE(w.eligible(MakeQAll), (QList<int>{0, 4}));
        // Past the course's end or the statistics' end nothing is eligible.
        QVERIFY(!IsEligible(w.scope, MakeQAll, 6));
        QVERIFY(!IsEligible(w.scope, MakeQAll, -1));
        World edge(10, 0, 2995);
        QCOMPARE(CountEligible(edge.scope, MakeQAll), 5);
    }

    void prepareKeepsSettingWhenSomethingIsLeft() {
        World w(3);
        w.st(1).Asked = 1; // wrong
        const DrawPreparation d = PrepareDraw(w.scope, MakeQWrongFirst);
        QCOMPARE(d.mode, MakeQWrongFirst);
        QCOMPARE(d.count, 1);
    }

    void wrongFirstFallsBackToUnasked() {
        World w(3);
        w.st(0).Asked = 1;
        w.st(0).Correct = 1;
        const DrawPreparation d = PrepareDraw(w.scope, MakeQWrongFirst);
        QCOMPARE(d.mode, MakeQUnasked);
        QCOMPARE(d.count, 2);
        // No reset happened.
        QCOMPARE(w.st(0).Asked, 1);
        QCOMPARE(w.st(0).Correct, 1);
    }

    void resetClearsOnlyThisLevelOutsideTheTrial_data() {
        QTest::addColumn<int>("setting");
        QTest::newRow("unasked") << MakeQUnasked;
        QTest::newRow("wrong first") << MakeQWrongFirst;
        QTest::newRow("mixed") << MakeQMixed;
    }
    void resetClearsOnlyThisLevelOutsideTheTrial() {
        QFETCH(int, setting);
        World w(6, 30);
        const uint8_t levels[6] = {30, 10, 30, 20, 30, 30};
        for (int p = 0; p < 6; ++p) {
            w.st(p).Level = levels[p];
            w.st(p).Asked = 1;
            w.st(p).Correct = 1;
            w.st(p).Selected = 7;
        }
        w.ask(2);
        const DrawPreparation d = PrepareDraw(w.scope, setting);
        QCOMPARE(d.mode, MakeQUnasked);
        QCOMPARE(d.count, 3); // 0, 4, 5
        for (int p : {0, 4, 5}) {
            QCOMPARE(w.st(p).Asked, 0);
            QCOMPARE(w.st(p).Correct, 0);
            QCOMPARE(w.st(p).Selected, 7);
        }
        // Other levels of the shared data set, and the problem of this
        // trial, keep their flags.
        for (int p : {1, 2, 3}) {
            QCOMPARE(w.st(p).Asked, 1);
            QCOMPARE(w.st(p).Correct, 1);
        }
    }

    void allIgnoresFlagsButNeverRepeats() {
        World w(3);
        for (int p = 0; p < 3; ++p)
            w.st(p).Asked = w.st(p).Correct = 1;
        w.ask(0);
        w.ask(1);
        DrawPreparation d = PrepareDraw(w.scope, MakeQAll);
        QCOMPARE(d.mode, MakeQAll);
        QCOMPARE(d.count, 1);
        QCOMPARE(DrawQuestion(w.scope, MakeQAll, 0.7), 2);
        QCOMPARE(w.sheet[2].ProbNo, 2);
        // Every problem is part of this trial now: nothing can be drawn,
        // and nothing is cleared or marked.
        w.scope.questionNo = 3;
        QCOMPARE(DrawQuestion(w.scope, MakeQAll, 0.1), -1);
        QCOMPARE(DrawQuestion(w.scope, MakeQUnasked, 0.1), -1);
        QCOMPARE(w.sheet[3].ProbNo, -1);
        for (int p = 0; p < 3; ++p)
            QCOMPARE(w.st(p).Correct, 1);
    }

    void emptyCourseDrawsNothing() {
        World w(0);
        QCOMPARE(DrawQuestion(w.scope, MakeQUnasked, 0.3), -1);
        World noLevel(4, 20); // no problem of that level
        QCOMPARE(DrawQuestion(noLevel.scope, MakeQMixed, 0.3), -1);
        World noRecord(4);
        noRecord.scope.record = nullptr;
        QCOMPARE(CountEligible(noRecord.scope, MakeQAll), 0);
    }

    void pickRoundsTiesToEven_data() {
        QTest::addColumn<double>("r");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("k");
        QTest::newRow("0") << 0.0 << 4 << 0;
        QTest::newRow("0.5 ties down to 0") << 0.125 << 4 << 0;
        QTest::newRow("1.5 ties up to 2") << 0.375 << 4 << 2;
        QTest::newRow("2.5 ties down to 2") << 0.625 << 4 << 2;
        QTest::newRow("3.5 would be 4: last") << 0.875 << 4 << 3;
        QTest::newRow("just below 1") << 0.9999999 << 4 << 3;
        QTest::newRow("one eligible, low") << 0.0 << 1 << 0;
        QTest::newRow("one eligible, high") << 0.9999999 << 1 << 0;
        QTest::newRow("one eligible, tie") << 0.5 << 1 << 0;
        QTest::newRow("nothing") << 0.5 << 0 << -1;
    }
    void pickRoundsTiesToEven() {
        QFETCH(double, r);
        QFETCH(int, count);
        QFETCH(int, k);
        QCOMPARE(PickIndex(r, count), k);
    }

    // The chance of each k is the length of the part of [0, 1) that maps to
    // it. The boundaries lie at multiples of 1 / (2 count); cutting [0, 1)
    // into cells of 1 / (2 count M) and asking at each cell's middle (never a
    // boundary) measures those lengths exactly.
    void pickProbabilitiesAreExact() {
        constexpr int M = 8;
        for (int count = 2; count <= 12; ++count) {
            const int cells = 2 * count * M;
            std::vector<int> hits(static_cast<size_t>(count), 0);
            for (int c = 0; c < cells; ++c) {
                const int k = PickIndex((c + 0.5) / cells, count);
                QVERIFY(k >= 0 && k < count);
                ++hits[static_cast<size_t>(k)];
            }
            // first 1/(2 count) = M cells, last 3/(2 count), others 1/count.
            QCOMPARE(hits.front(), M);
            QCOMPARE(hits.back(), 3 * M);
            for (int k = 1; k < count - 1; ++k)
                QCOMPARE(hits[static_cast<size_t>(k)], 2 * M);
        }
    }

    void pickWalksEligibleProblemsInOrder() {
        World w(8);
        for (int p : {0, 3, 6})
            w.st(p).Asked = 1;
        // Eligible under "unasked": 1, 2, 4, 5, 7.
        QCOMPARE(NthEligible(w.scope, MakeQUnasked, 0), 1);
        QCOMPARE(NthEligible(w.scope, MakeQUnasked, 2), 4);
        QCOMPARE(NthEligible(w.scope, MakeQUnasked, 4), 7);
        QCOMPARE(NthEligible(w.scope, MakeQUnasked, 5), -1);
        // r = 0.5 of 5 is 2.5, which ties to 2: problem 4.
        QCOMPARE(DrawQuestion(w.scope, MakeQUnasked, 0.5), 4);
        QCOMPARE(w.st(4).Asked, 1);
        QCOMPARE(w.sheet[0].ProbNo, 4);
    }

    void mixedDrawsUnaskedAndWrongAlike() {
        World w(4);
        w.st(1).Asked = 1; // wrong
        w.st(2).Asked = 1; // right
        w.st(2).Correct = 1;
        // Eligible: 0 (unasked), 1 (wrong), 3 (unasked), numbered in order:
        // the wrong one sits between the unasked ones with the middle chance.
        std::map<int, int> seen;
        for (double r : {0.1, 0.4, 0.8}) {
            World copy = w;
            copy.scope.record = &copy.record;
            copy.scope.sheet = &copy.sheet;
            ++seen[DrawQuestion(copy.scope, MakeQMixed, r)];
        }
        QCOMPARE(seen.size(), size_t{3});
        QVERIFY(seen.count(1) == 1);
    }

    void oneEligibleIsAlwaysChosen() {
        for (double r : {0.0, 0.25, 0.5, 0.75, 0.999999}) {
            World w(5);
            for (int p = 0; p < 5; ++p) {
                w.st(p).Asked = 1;
                w.st(p).Correct = p == 3 ? 0 : 1;
            }
            QCOMPARE(DrawQuestion(w.scope, MakeQWrongFirst, r), 3);
        }
    }

    void drawFromAWorkedThroughCourse() {
        // "Unasked" on a course whose problems were all asked: the course
        // starts afresh and the draw takes one that this trial has not had.
        World w(3);
        for (int p = 0; p < 3; ++p)
            w.st(p).Asked = 1;
        w.st(1).Correct = 1;
        w.ask(0);
        const int p = DrawQuestion(w.scope, MakeQUnasked, 0.99);
        QCOMPARE(p, 2);
        QCOMPARE(w.st(1).Asked, 0);
        QCOMPARE(w.st(1).Correct, 0);
        QCOMPARE(w.st(2).Asked, 1);
        QCOMPARE(w.st(0).Asked, 1);
    }

    void generatorIsSeededAndInRange() {
        TrialRandom a(42), b(42), c(43);
        bool differs = false;
        for (int i = 0; i < 1000; ++i) {
            const double x = a.next();
            QVERIFY(x >= 0.0 && x < 1.0);
            QCOMPARE(x, b.next());
            if (x != c.next()) differs = true;
        }
        QVERIFY(differs);
    }
};

QTEST_GUILESS_MAIN(TestTrialDraw)
#include "test_trial_draw.moc"
