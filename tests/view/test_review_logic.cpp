// The question list and the answer mark of the review window, without widgets.
#include "modes/review/reviewlogic.h"

#include <QtTest>

class TestReviewLogic : public QObject {
    Q_OBJECT
private slots:
    void countStopsAtFirstUnasked() {
        AnswerSheet sheet{};
        QCOMPARE(CountReviewQuestions(sheet), 0);
        for (int i = 0; i < 4; ++i)
            sheet[size_t(i)].ProbNo = int16_t(10 + i);
        sheet[6].ProbNo = 3; // after a gap: not listed
        QCOMPARE(CountReviewQuestions(sheet), 4);
        for (auto& e : sheet)
            e.ProbNo = 0;
        QCOMPARE(CountReviewQuestions(sheet), 10);
    }

    void captions_data() {
        QTest::addColumn<int>("i");
        QTest::addColumn<QString>("caption");
        QTest::newRow("first") << 0 << QStringLiteral("第１問");
        QTest::newRow("ninth") << 8 << QStringLiteral("第９問");
        QTest::newRow("tenth") << 9 << QStringLiteral("第10問");
    }
    void captions() {
        QFETCH(int, i);
        QFETCH(QString, caption);
        QCOMPARE(ReviewQuestionCaption(i), caption);
    }

    void places_data() {
        QTest::addColumn<int>("i");
        QTest::addColumn<QPoint>("place");
        QTest::newRow("first") << 0 << QPoint(8, 40);
        QTest::newRow("fifth") << 4 << QPoint(8, 40 + 4 * 48);
        QTest::newRow("sixth") << 5 << QPoint(128, 40);
        QTest::newRow("tenth") << 9 << QPoint(128, 40 + 4 * 48);
    }
    void places() {
        QFETCH(int, i);
        QFETCH(QPoint, place);
        QCOMPARE(QuestionPlace(QPoint(8, 40), i), place);
    }

    void marks_data() {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("answerX");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<bool>("highlighted");
        QTest::newRow("scored") << 150 << 3 << QStringLiteral("○") << false;
        QTest::newRow("correct but no points left") << 0 << 3 << QStringLiteral("×") << true;
        QTest::newRow("wrong") << 0 << 5 << QStringLiteral("×") << true;
        QTest::newRow("time ran out") << 0 << -1 << QString() << true;
    }
    void marks() {
        QFETCH(int, points);
        QFETCH(int, answerX);
        QFETCH(QString, mark);
        QFETCH(bool, highlighted);
        AnswerEntry e;
        e.ProbNo = 1;
        e.Points = int16_t(points);
        e.AnswerX = int16_t(answerX);
        e.AnswerY = int16_t(answerX < 0 ? -1 : 2);
        QCOMPARE(AnswerMark(e), mark);
        QCOMPARE(QuestionHighlighted(e), highlighted);
    }

    void openingQuestion_data() {
        QTest::addColumn<int>("questionNo");
        QTest::addColumn<int>("previous");
        QTest::addColumn<int>("now");
        QTest::addColumn<int>("selected");
        QTest::newRow("first opening after start") << 0 << 0 << 10 << 0;
        QTest::newRow("after a finished trial") << 10 << 10 << 10 << 0;
        QTest::newRow("back from studying question 4") << 3 << 10 << 10 << 3;
        QTest::newRow("quit at 4, earlier list longer") << 3 << 10 << 4 << 3;
        QTest::newRow("quit at 4, earlier list shorter") << 3 << 3 << 4 << 0;
        QTest::newRow("no longer listed") << 7 << 10 << 4 << 0;
    }
    void openingQuestion() {
        QFETCH(int, questionNo);
        QFETCH(int, previous);
        QFETCH(int, now);
        QFETCH(int, selected);
        QCOMPARE(OpeningQuestion(questionNo, previous, now), selected);
    }

    void markPlace_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("stone");
        QTest::addColumn<int>("ax");
        QTest::addColumn<int>("ay");
        QTest::addColumn<QPoint>("place");
        // 381 / 19 = 20: x = 20*3 + 2.5 -> 62 (tie to even), y = 40 + 2.5 - 1 -> 42
        QTest::newRow("19 lines") << 19 << 20 << 3 << 2 << QPoint(60, 40);
        // 381 / 13 = 29: x = 29 + 3.625 -> 33, y = 0 + 3.625 - 1 -> 3; back by 3
        QTest::newRow("13 lines") << 13 << 29 << 1 << 0 << QPoint(30, 0);
    }
    void markPlace() {
        QFETCH(int, lines);
        QFETCH(int, stone);
        QFETCH(int, ax);
        QFETCH(int, ay);
        QFETCH(QPoint, place);
        QCOMPARE(AnswerMarkPlace(381, 381, lines, stone, ax, ay), place);
        QCOMPARE(AnswerMarkPointSize(20), 16.0);
    }
};

QTEST_GUILESS_MAIN(TestReviewLogic)
#include "test_review_logic.moc"
