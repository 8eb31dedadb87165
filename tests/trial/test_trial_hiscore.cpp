// Ranking files: line format, reading with its error rule, merging, dates.
#include "library/files.h"
#include "records/hiscore/hiscore.h"

#include <QtTest>

namespace {

ScoreEntry Entry(int score, int correct, const QString& name, const QString& date = "2026/12/07",
                 const QString& time = "09:05:03") {
    ScoreEntry e;
    e.Score = static_cast<int16_t>(score);
    e.CorrectCount = static_cast<int16_t>(correct);
    e.PlayerName = name;
    e.PlayDate = date;
    e.PlayTime = time;
    return e;
}

std::vector<ScoreEntry> Ten(int top = 1000, int step = 100) {
    std::vector<ScoreEntry> v;
    for (int i = 0; i < 10; ++i)
        v.push_back(Entry(top - step * i, 10 - i, QStringLiteral("棋士%1").arg(i)));
    return v;
}

} // namespace

class TestTrialHiscore : public QObject {
    Q_OBJECT
private slots:
    void fileNames_data() {
        QTest::addColumn<int>("course");
        QTest::addColumn<QString>("file");
        for (int c = 0; c < 4; ++c)
            QTest::addRow("course %d", c) << c << "abc.hsc";
        QTest::newRow("course 4") << 4 << "s1.hsc";
        QTest::newRow("course 5") << 5 << "s2.hsc";
    }
    void fileNames() {
        QFETCH(int, course);
        QFETCH(QString, file);
        QCOMPARE(HiscoreFileName(course), file);
    }

    void lineFormatIsExact() {
        QCOMPARE(FormatScoreLine(Entry(850, 7, QStringLiteral("山田"))),
                 QStringLiteral(" 850 , 7 ,\"山田\",\"2026/12/07\",\"09:05:03\""));
        // A quote or a line end inside a text would end the record early.
        QCOMPARE(FormatScoreLine(Entry(5, 1, QStringLiteral("a\"b\r\nc"))),
                 QStringLiteral(" 5 , 1 ,\"a＂b  c\",\"2026/12/07\",\"09:05:03\""));
    }

    void fileImageIsShiftJisWithCrLf() {
        const std::vector<ScoreEntry> merged{
            Entry(850, 7, QStringLiteral("山田")),
            Entry(12, 1, QStringLiteral("Bob"), "2026/1/2", "7:01:02")};
        QByteArray expected = " 850 , 7 ,\"\x8E\x52\x93\x63\",\"2026/12/07\",\"09:05:03\"\r\n"
                              " 12 , 1 ,\"Bob\",\"2026/1/2\",\"7:01:02\"\r\n";
        QCOMPARE(FormatRanking(merged), expected);
    }

    void fileImageStopsAtTenOrAtZeroPoints() {
        std::vector<ScoreEntry> eleven = Ten();
        eleven.push_back(Entry(1, 1, "x"));
        QCOMPARE(FormatRanking(eleven).count("\r\n"), 10);
        std::vector<ScoreEntry> withZero{Entry(30, 1, "a"), Entry(0, 0, "b"), Entry(20, 1, "c")};
        QCOMPARE(FormatRanking(withZero),
                 QByteArray(" 30 , 1 ,\"a\",\"2026/12/07\",\"09:05:03\"\r\n"));
        QCOMPARE(FormatRanking({Entry(0, 0, "z")}), QByteArray());
        QCOMPARE(FormatRanking({}), QByteArray());
    }

    void readsWhatItWrites() {
        const std::vector<ScoreEntry> v = Ten();
        const RankingRead r = ParseRanking(FormatRanking(v));
        QCOMPARE(r.badLine, 0);
        QVERIFY(r.entries == v);
    }

    void reading_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("badLine");
        QTest::newRow("empty") << QByteArray() << 0 << 0;
        QTest::newRow("blanks around numbers, no final line end")
            << QByteArray("  120,3 ,\"a\",\"d\",\"t\"") << 1 << 0;
        QTest::newRow("lf only") << QByteArray(
                                        " 1 , 1 ,\"a\",\"d\",\"t\"\n 2 , 1 ,\"b\",\"d\",\"t\"\n")
                                 << 2 << 0;
        QTest::newRow("comma inside quotes")
            << QByteArray(" 1 , 1 ,\"a,b\",\"d\",\"t\"\r\n") << 1 << 0;
        QTest::newRow("short record keeps the ones before")
            << QByteArray(
                   " 9 , 1 ,\"a\",\"d\",\"t\"\r\n 8 , 1 ,\"b\"\r\n 7 , 1 ,\"c\",\"d\",\"t\"\r\n")
            << 1 << 2;
        QTest::newRow("not a number")
            << QByteArray(" 9 , 1 ,\"a\",\"d\",\"t\"\r\nxx, 1 ,\"b\",\"d\",\"t\"\r\n") << 1 << 2;
        QTest::newRow("number too large")
            << QByteArray(" 40000 , 1 ,\"a\",\"d\",\"t\"\r\n") << 0 << 1;
        QTest::newRow("open quote") << QByteArray(" 9 , 1 ,\"a,\"d\",\"t\r\n") << 0 << 1;
        QTest::newRow("bad shift-jis") << QByteArray(" 9 , 1 ,\"\x82\",\"d\",\"t\"\r\n") << 0 << 1;
    }
    void reading() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, count);
        QFETCH(int, badLine);
        const RankingRead r = ParseRanking(bytes);
        QCOMPARE(static_cast<int>(r.entries.size()), count);
        QCOMPARE(r.badLine, badLine);
    }

    void readingTakesTheFirstTen() {
        std::vector<ScoreEntry> twelve = Ten(2000);
        twelve.push_back(Entry(5, 1, "k"));
        twelve.push_back(Entry(4, 1, "l"));
        QByteArray bytes;
        for (const auto& e : twelve)
            bytes += EncodeSjis(FormatScoreLine(e)) + "\r\n";
        const RankingRead r = ParseRanking(bytes);
        QCOMPARE(r.entries.size(), size_t{10});
        QCOMPARE(r.entries.back().Score, 1100);
        QCOMPARE(r.entries.front().PlayerName, QStringLiteral("棋士0"));
    }

    void firstResultOnAnEmptyRanking() {
        const MergedRanking m = MergeRanking({}, Entry(300, 2, "a"));
        QCOMPARE(m.merged.size(), size_t{1});
        QCOMPARE(m.newPosition, 0);
        QVERIFY(m.rankedIn);
        const MergedRanking zero = MergeRanking({}, Entry(0, 0, "a"));
        QCOMPARE(zero.newPosition, 0);
        QVERIFY(!zero.rankedIn);
    }

    void equalToTheLowestOfTenStaysOut() {
        const std::vector<ScoreEntry> ten = Ten(); // lowest 100
        const MergedRanking m = MergeRanking(ten, Entry(100, 1, "new"));
        QCOMPARE(m.newPosition, 10);
        QVERIFY(!m.rankedIn);
        QCOMPARE(m.merged.size(), size_t{11});
        QCOMPARE(FormatRanking(m.merged), FormatRanking(ten));
    }

    void betweenFourthAndFifth() {
        const std::vector<ScoreEntry> ten = Ten(); // 1000, 900, ..., 100
        const MergedRanking m = MergeRanking(ten, Entry(650, 5, "new"));
        QCOMPARE(m.newPosition, 4);
        QVERIFY(m.rankedIn);
        QCOMPARE(m.merged[3].Score, 700);
        QCOMPARE(m.merged[5].Score, 600);
        QCOMPARE(m.merged[10].Score, 100); // pushed out of the top ten
        const RankingRead saved = ParseRanking(FormatRanking(m.merged));
        QCOMPARE(saved.entries.size(), size_t{10});
        QCOMPARE(saved.entries[4].PlayerName, QStringLiteral("new"));
        QCOMPARE(saved.entries[9].Score, 200);
    }

    void equalScoreRanksBelowTheOldOne() {
        const MergedRanking m =
            MergeRanking({Entry(500, 3, "old"), Entry(200, 1, "b")}, Entry(500, 4, "new"));
        QCOMPARE(m.newPosition, 1);
        QCOMPARE(m.merged[0].PlayerName, QStringLiteral("old"));
    }

    void dates_data() {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("shown");
        QTest::newRow("four-digit year") << "2026/12/07"
                                         << "26/12/07";
        QTest::newRow("two-digit year") << "96/03/31"
                                        << "96/03/31";
        QTest::newRow("one-digit year") << "6/3/31"
                                        << "6/3/31";
        QTest::newRow("no slash") << "2026-12-07"
                                  << "2026-12-07";
        QTest::newRow("empty") << ""
                               << "";
    }
    void dates() {
        QFETCH(QString, date);
        QFETCH(QString, shown);
        QCOMPARE(ShortDate(date), shown);
    }

    void newEntryCountsScoringQuestions() {
        std::array<AnswerEntry, kTrialQuestions> sheet{};
        const int points[10] = {193, 0, 171, 0, 0, 5, 0, 0, 0, 0};
        for (int i = 0; i < 10; ++i)
            sheet[static_cast<size_t>(i)].Points = static_cast<int16_t>(points[i]);
        const QDateTime when(QDate(2026, 12, 7), QTime(9, 5, 3));
        const ScoreEntry e = NewScoreEntry(sheet, QStringLiteral("花子"), when);
        QCOMPARE(e.Score, 369);
        QCOMPARE(e.CorrectCount, 3);
        QCOMPARE(e.PlayerName, QStringLiteral("花子"));
        QCOMPARE(e.PlayDate, QStringLiteral("2026/12/07"));
        QCOMPARE(e.PlayTime, QStringLiteral("09:05:03"));
    }
};

QTEST_GUILESS_MAIN(TestTrialHiscore)
#include "test_trial_hiscore.moc"
