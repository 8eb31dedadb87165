// The trial's points, clock texts, announcements, transfer and verdict.
#include "modes/trial/trialcalc.h"
#include "rules/outcome.h"

#include <QtTest>

class TestTrialCalc : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitOutcomeTable(); }

    void levels_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("base");
        QTest::newRow("dan") << 30 << "有段レベル" << 200;
        QTest::newRow("advanced") << 20 << "上級レベル" << 150;
        QTest::newRow("beginner") << 10 << "初級レベル" << 100;
        QTest::newRow("unknown") << 25 << "レベル不明" << 100;
        QTest::newRow("zero") << 0 << "レベル不明" << 100;
    }
    void levels() {
        QFETCH(int, level);
        QFETCH(QString, text);
        QFETCH(int, base);
        QCOMPARE(TrialLevelOf(level).text, text);
        QCOMPARE(TrialLevelOf(level).basePoints, base);
    }

    void points_data() {
        QTest::addColumn<int>("base");
        QTest::addColumn<int>("thinkTime");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("points");
        QTest::newRow("at once") << 200 << 60 << 60 << 200;
        QTest::newRow("one second") << 200 << 60 << 59 << 200;
        QTest::newRow("after 15 s") << 200 << 60 << 45 << 193;
        QTest::newRow("after 59 s") << 200 << 60 << 1 << 171;
        QTest::newRow("beginner after 200 s") << 100 << 300 << 100 << 0;
        QTest::newRow("beginner after 290 s") << 100 << 300 << 10 << 0;
    }
    void points() {
        QFETCH(int, base);
        QFETCH(int, thinkTime);
        QFETCH(int, seconds);
        QFETCH(int, points);
        QCOMPARE(TrialPoints(base, thinkTime, seconds), points);
    }

    void announcements() {
        const QMap<int, QString> expected{{120, "min02.wav"}, {60, "min01.wav"}, {30, "sec30.wav"},
                                          {20, "sec20.wav"},  {10, "sec10.wav"}, {5, "sec05.wav"},
                                          {4, "sec04.wav"},   {3, "sec03.wav"},  {2, "sec02.wav"},
                                          {1, "sec01.wav"}};
        for (int s = -1; s <= 600; ++s)
            QCOMPARE(CountdownSound(s), expected.value(s));
    }

    void clockText() {
        QCOMPARE(TimeText(30), QStringLiteral("あと ３０ 秒"));
        QCOMPARE(TimeText(5), QStringLiteral("あと ５ 秒"));
        QCOMPARE(TimeText(120), QStringLiteral("あと １２０ 秒"));
    }

    void transferOf193() {
        int transfer = 193;
        QList<int> steps;
        while (int step = TransferStep(transfer)) {
            steps.append(step);
            transfer -= step;
        }
        QCOMPARE(steps.size(), 22);
        QCOMPARE(steps.count(10), 19);
        QCOMPARE(steps.count(1), 3);
        QCOMPARE(steps.indexOf(1), 19); // the tens come first
        QCOMPARE(transfer, 0);
        QCOMPARE(TransferStep(0), 0);
        QCOMPARE(TransferStep(-5), 0);
    }

    void verdict_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("best");
        QTest::addColumn<bool>("correct");
        QTest::newRow("the best itself") << 50 << 50 << true;
        QTest::newRow("same value, other class") << 40 << 50 << true;
        QTest::newRow("lower digit") << 50 << 51 << false;
        QTest::newRow("inferior") << 550 << 50 << false;
        QTest::newRow("not in the tree") << -1 << 50 << false;
        QTest::newRow("tree without result") << 50 << -1 << false;
        QTest::newRow("unknown class, the best") << 85 << 85 << true;
        QTest::newRow("unknown class, not the best") << 85 << 50 << false;
    }
    void verdict() {
        QFETCH(int, answer);
        QFETCH(int, best);
        QFETCH(bool, correct);
        QCOMPARE(TrialAnswerIsCorrect(answer, best), correct);
    }
};

QTEST_GUILESS_MAIN(TestTrialCalc)
#include "test_trial_calc.moc"
