// The selection a play window keeps for itself: taken once, stepped on its
// own, handed back when the window opens the next one.
#include "library/session.h"

#include <QtTest>

class TestSelection : public QObject {
    Q_OBJECT
private slots:
    void init() {
        gMode = 2;
        gCourse = 3;
        gProbNo = 7;
        gQuestionNo = 1;
        gReviewCount = 4;
        ClearAnswerSheet();
        for (int i = 0; i < 4; ++i)
            gAnswerSheet[size_t(i)].ProbNo = int16_t(100 + i);
    }

    // Another window selecting after the take changes nothing in the copy;
    // publishing hands back what the window shows, not the sheet.
    void takenOnceAndHandedBack() {
        SelectionSnapshot s = SelectionSnapshot::Take();
        gMode = 1;
        gCourse = 0;
        gProbNo = 0;
        gQuestionNo = 9;
        gAnswerSheet[1].ProbNo = 555;
        QCOMPARE(s.mode, int16_t(2));
        QCOMPARE(s.course, int16_t(3));
        QCOMPARE(s.probNo, int16_t(7));
        QCOMPARE(s.sheet[1].ProbNo, int16_t(101));

        s.probNo = 8;
        s.sheet[2].ProbNo = 999;
        s.Publish();
        QCOMPARE(gMode, int16_t(2));
        QCOMPARE(gCourse, int16_t(3));
        QCOMPARE(gProbNo, int16_t(8));
        QCOMPARE(gQuestionNo, int16_t(1));
        QCOMPARE(gAnswerSheet[2].ProbNo, int16_t(102));
    }

    void followsTheQuestion_data() {
        QTest::addColumn<int>("question");
        QTest::addColumn<int>("expectedQuestion");
        QTest::addColumn<int>("expectedProblem");
        QTest::newRow("second question") << 1 << 1 << 101;
        QTest::newRow("past the sheet: the first") << 10 << 0 << 100;
        QTest::newRow("negative: the first") << -1 << 0 << 100;
        QTest::newRow("never asked") << 6 << 6 << -1;
    }
    void followsTheQuestion() {
        QFETCH(int, question);
        QFETCH(int, expectedQuestion);
        QFETCH(int, expectedProblem);
        gQuestionNo = int16_t(question);
        SelectionSnapshot s = SelectionSnapshot::Take();
        s.FollowQuestion();
        QCOMPARE(int(s.questionNo), expectedQuestion);
        QCOMPARE(int(s.probNo), expectedProblem);
    }

    // Browsing steps the problem through the course, reviewing the question
    // through the questions asked; both wrap round, and an empty course or a
    // review of nothing refuses to step.
    void steps_data() {
        QTest::addColumn<bool>("browsing");
        QTest::addColumn<int>("delta");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("reviewCount");
        QTest::addColumn<bool>("stepped");
        QTest::addColumn<int>("problem");
        QTest::addColumn<int>("question");
        QTest::newRow("next problem") << true << +1 << 20 << 4 << true << 8 << 1;
        QTest::newRow("last problem wraps to the first") << true << +1 << 8 << 4 << true << 0 << 1;
        QTest::newRow("previous problem") << true << -1 << 20 << 4 << true << 6 << 1;
        QTest::newRow("past the course end starts again") << true << +1 << 5 << 4 << true << 1 << 1;
        QTest::newRow("empty course") << true << +1 << 0 << 4 << false << 7 << 1;
        QTest::newRow("next question") << false << +1 << 20 << 4 << true << 7 << 2;
        QTest::newRow("previous question") << false << -1 << 20 << 4 << true << 7 << 0;
        QTest::newRow("last asked wraps") << false << +1 << 20 << 2 << true << 7 << 0;
        QTest::newRow("more than ten counts as ten") << false << -1 << 20 << 30 << true << 7 << 0;
        QTest::newRow("nothing asked") << false << +1 << 20 << 0 << false << 7 << 1;
    }
    void steps() {
        QFETCH(bool, browsing);
        QFETCH(int, delta);
        QFETCH(int, count);
        QFETCH(int, reviewCount);
        QFETCH(bool, stepped);
        QFETCH(int, problem);
        QFETCH(int, question);
        gReviewCount = int16_t(reviewCount);
        SelectionSnapshot s = SelectionSnapshot::Take();
        QCOMPARE(s.Step(delta, browsing, count), stepped);
        QCOMPARE(int(s.probNo), problem);
        QCOMPARE(int(s.questionNo), question);
    }

    void questionCaptions_data() {
        QTest::addColumn<int>("question");
        QTest::addColumn<QString>("caption");
        QTest::newRow("first") << 0 << QStringLiteral("第１問");
        QTest::newRow("tenth") << 9 << QStringLiteral("第１０問");
    }
    void questionCaptions() {
        QFETCH(int, question);
        QFETCH(QString, caption);
        QCOMPARE(QuestionCaption(question), caption);
    }
};

QTEST_GUILESS_MAIN(TestSelection)
#include "test_selection.moc"
