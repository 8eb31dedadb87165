// The 復習 schedule: intervals after each success in a row, reset by a failure.
#include "history/schedule.h"

#include <QtTest>

namespace {

const QDate kDay0(2026, 3, 1);

// "x" a failure, "o" a success, each on the given day offset.
std::vector<ReviewOutcome> Outcomes(std::initializer_list<std::pair<int, char>> list) {
    std::vector<ReviewOutcome> v;
    for (const auto& [day, c] : list)
        v.push_back({kDay0.addDays(day), c == 'o'});
    return v;
}

} // namespace

Q_DECLARE_METATYPE(std::vector<ReviewOutcome>)

class TestSchedule : public QObject {
    Q_OBJECT
private slots:
    void nextDay_data() {
        QTest::addColumn<std::vector<ReviewOutcome>>("attempts");
        QTest::addColumn<int>("due"); // days after day 0; -1 not on the list
        QTest::newRow("never tried") << Outcomes({}) << -1;
        QTest::newRow("only solved") << Outcomes({{0, 'o'}, {5, 'o'}}) << -1;
        QTest::newRow("failed: due at once") << Outcomes({{0, 'x'}}) << 0;
        QTest::newRow("one success after") << Outcomes({{0, 'x'}, {0, 'o'}}) << 1;
        QTest::newRow("two in a row") << Outcomes({{0, 'x'}, {0, 'o'}, {1, 'o'}}) << 4;
        QTest::newRow("three") << Outcomes({{0, 'x'}, {0, 'o'}, {1, 'o'}, {4, 'o'}}) << 11;
        QTest::newRow("six: sixty days")
            << Outcomes({{0, 'x'}, {0, 'o'}, {1, 'o'}, {4, 'o'}, {11, 'o'}, {25, 'o'}, {55, 'o'}})
            << 115;
        QTest::newRow("beyond six stays at sixty") << Outcomes({{0, 'x'},
                                                                {0, 'o'},
                                                                {1, 'o'},
                                                                {4, 'o'},
                                                                {11, 'o'},
                                                                {25, 'o'},
                                                                {55, 'o'},
                                                                {115, 'o'}})
                                                   << 175;
        QTest::newRow("a failure resets")
            << Outcomes({{0, 'x'}, {0, 'o'}, {1, 'o'}, {4, 'x'}, {4, 'o'}}) << 5;
        QTest::newRow("failed after solving") << Outcomes({{0, 'o'}, {9, 'x'}}) << 9;
        QTest::newRow("early success counts from its day")
            << Outcomes({{0, 'x'}, {0, 'o'}, {0, 'o'}}) << 3;
    }
    void nextDay() {
        QFETCH(std::vector<ReviewOutcome>, attempts);
        QFETCH(int, due);
        const QDate d = NextReviewDay(attempts);
        if (due < 0) {
            QVERIFY(!d.isValid());
            QVERIFY(!IsReviewDue(attempts, kDay0.addDays(1000)));
        } else {
            QCOMPARE(d, kDay0.addDays(due));
            QVERIFY(IsReviewDue(attempts, kDay0.addDays(due)));
            QVERIFY(IsReviewDue(attempts, kDay0.addDays(due + 3)));
            QVERIFY(!IsReviewDue(attempts, kDay0.addDays(due - 1)));
        }
    }

    void dueProblemsOfOneSet() {
        auto at = [](int day, const char* set, int problem, bool correct) {
            Attempt a;
            a.time = QDateTime(kDay0.addDays(day), QTime(10, 0));
            a.dataSet = QString::fromLatin1(set);
            a.problem = problem;
            a.correct = correct;
            return a;
        };
        const std::vector<Attempt> all{
            at(0, "abc", 1, false), at(0, "abc", 2, false), at(0, "abc", 2, true),
            at(0, "abc", 3, true),  at(0, "s1", 1, false),  at(2, "abc", 4, false),
        };
        QCOMPARE(DueProblems(all, QStringLiteral("abc"), kDay0), (std::set<int>{1}));
        QCOMPARE(DueProblems(all, QStringLiteral("abc"), kDay0.addDays(1)), (std::set<int>{1, 2}));
        QCOMPARE(DueProblems(all, QStringLiteral("abc"), kDay0.addDays(2)),
                 (std::set<int>{1, 2, 4}));
        QCOMPARE(DueProblems(all, QStringLiteral("s1"), kDay0), (std::set<int>{1}));
        QVERIFY(DueProblems(all, QStringLiteral("s2"), kDay0).empty());
    }
};

QTEST_MAIN(TestSchedule)
#include "test_schedule.moc"
