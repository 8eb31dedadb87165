// The figures of the 成績の推移 window and the window itself over a real
// history database.
#include "history/history.h"
#include "library/courses.h"
#include "library/files.h"
#include "library/modules.h"
#include "library/player.h"
#include "platform/recordingplatform.h"
#include "records/progress/frmProgress.h"
#include "records/progress/progress.h"
#include "rules/outcome.h"

#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

Attempt At(QDate day, AttemptMode mode, int course, int level, int best, int reached,
           bool correct) {
    Attempt a;
    a.time = QDateTime(day, QTime(20, 0));
    a.mode = mode;
    a.course = course;
    a.dataSet = QStringLiteral("abc");
    a.level = level;
    a.best = best;
    a.reached = reached;
    a.correct = correct;
    return a;
}

const QDate kMon(2026, 6, 1); // a Monday

std::vector<Attempt> Sample() {
    const auto T = AttemptMode::Trial;
    const auto L = AttemptMode::Learn;
    return {
        At(kMon, T, 0, 10, 50, 50, true),
        At(kMon, T, 0, 20, 50, 300, false), // 本コウ taken for 白死
        At(kMon.addDays(2), T, 0, 20, 50, 300, false),
        At(kMon.addDays(2), T, 4, 30, 100, 110, true), // セキ(黒生き) is as good as 黒生き
        At(kMon.addDays(7), L, 0, 20, 50, 50, true),
        At(kMon.addDays(8), T, 0, 10, 50, -1, false),  // not in the tree / time out
        At(kMon.addDays(8), L, 0, 7, 100, 550, false), // unknown level
    };
}

} // namespace

class TestProgress : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    ScopedRecordingPlatform platform_; // no box ever blocks a test

private slots:
    void initTestCase() {
        InitOutcomeTable();
        gPlayerRecord = PlayerRecord{};
        gPlayerRecord.Background = 1; // plain windows: no pictures in the test folder
        gDataPath = MakeDataPath(dir_.path());
        InitCoursesWithCounts(10, 5, 5);
    }

    void trialTotals() {
        const auto totals = TrialTotalsByCourse(Sample());
        QCOMPARE(totals.size(), size_t(2)); // learn attempts are not trial totals
        const auto& c0 = totals.at(0);
        QCOMPARE(c0.size(), size_t(3));
        QCOMPARE(c0[0].day, kMon);
        QCOMPARE(c0[0].answered, 2);
        QCOMPARE(c0[0].correct, 1);
        QCOMPARE(c0[1].answered, 3); // running totals
        QCOMPARE(c0[1].correct, 1);
        QCOMPARE(c0[2].day, kMon.addDays(8));
        QCOMPARE(c0[2].answered, 4);
        QCOMPARE(totals.at(4).front().correct, 1);
    }

    void weeklyRates() {
        const auto rates = WeeklyRateByLevel(Sample());
        QCOMPARE(rates.size(), size_t(4));
        const auto& upper = rates.at(20);
        QCOMPARE(upper.size(), size_t(2));
        QCOMPARE(upper[0].week, kMon);
        QCOMPARE(upper[0].answered, 2);
        QCOMPARE(upper[0].percent(), 0.0);
        QCOMPARE(upper[1].week, kMon.addDays(7));
        QCOMPARE(upper[1].percent(), 100.0);
        QCOMPARE(rates.at(10)[1].week, kMon.addDays(7)); // Tuesday belongs to Monday's week
        QCOMPARE(rates.at(0).front().answered, 1);
        QCOMPARE(LevelTitle(7), QStringLiteral("レベル不明"));
        QCOMPARE(LevelTitle(30), QStringLiteral("有段"));
    }

    void confusion() {
        const Confusion c = ConfusionTable(Sample());
        QCOMPARE(c.best, (QStringList{"白死", "黒生き"}));
        QCOMPARE(c.reached,
                 (QStringList{"白死", "セキ(黒生き)", "本コウ(黒取り番)", "白生き", "候補外"}));
        QCOMPARE(c.counts[0], (std::vector<int>{2, 0, 2, 0, 1}));
        QCOMPARE(c.counts[1], (std::vector<int>{0, 1, 0, 1, 0}));
        QVERIFY(ConfusionTable({}).best.isEmpty());
    }

    // Every label of the date axis falls on a whole day and no day is named
    // twice: the span is a whole number of equal steps of at most six gaps.
    void dateAxis_data() {
        QTest::addColumn<int>("days"); // from the first day played to the last
        QTest::addColumn<int>("from"); // days before the first
        QTest::addColumn<int>("to");   // days after the first
        QTest::addColumn<int>("ticks");
        QTest::newRow("one day") << 0 << -1 << 1 << 3;
        QTest::newRow("two days") << 1 << -1 << 2 << 4;
        QTest::newRow("six gaps exactly") << 4 << -1 << 5 << 7;
        QTest::newRow("seven days: steps of two") << 5 << -1 << 7 << 5;
        QTest::newRow("a month") << 30 << -1 << 35 << 7;
        QTest::newRow("a year") << 364 << -1 << 365 << 7;
    }
    void dateAxis() {
        QFETCH(int, days);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, ticks);
        const DateSpan span = DateAxis(kMon, kMon.addDays(days));
        QCOMPARE(span.from, kMon.addDays(from));
        QCOMPARE(span.to, kMon.addDays(to));
        QCOMPARE(span.ticks, ticks);
        QVERIFY(span.ticks <= 7);
        QCOMPARE(span.from.daysTo(span.to) % (span.ticks - 1), 0);
        QVERIFY(span.to > kMon.addDays(days)); // the last day is inside the axis
    }
    void dateAxisOfNoDays() {
        const DateSpan span = DateAxis(QDate(), QDate());
        QCOMPARE(span.from, QDate::currentDate().addDays(-1));
        QCOMPARE(span.ticks, 3);
        const DateSpan reversed = DateAxis(kMon.addDays(3), kMon);
        QCOMPARE(reversed.from, kMon.addDays(-1));
    }

    void windowShowsTheHistory() {
        gPlayerCount = 1;
        gCurPlayer = 0;
        gPlayerName[0] = QStringLiteral("テスト");
        for (Attempt a : Sample()) {
            a.player = 0;
            QVERIFY(RecordAttempt(a));
        }
        frmProgress w;
        QCOMPARE(w.windowTitle(), QStringLiteral("成績の推移"));
        QVERIFY(w.lblPlayer->text().contains(QStringLiteral("テスト")));
        auto* trial = qobject_cast<QChartView*>(w.chtTrial);
        auto* level = qobject_cast<QChartView*>(w.chtLevel);
        QVERIFY(trial && level);
        QCOMPARE(trial->chart()->series().size(), 4); // two courses, answered and correct
        QCOMPARE(level->chart()->series().size(), 4);
        // The correct answers are the dashed line of each course.
        const auto* correct = qobject_cast<QLineSeries*>(trial->chart()->series().at(1));
        QVERIFY(correct);
        QCOMPARE(correct->pen().style(), Qt::DashLine);
        QCOMPARE(correct->count(), 3);
        QCOMPARE(w.grdConfusion->rowCount(), 2);
        QCOMPARE(w.grdConfusion->columnCount(), 5);
        QCOMPARE(w.grdConfusion->item(0, 2)->text(), QStringLiteral("2"));
        QCOMPARE(w.grdConfusion->verticalHeaderItem(0)->text(), QStringLiteral("白死"));
    }

    void windowWithoutPlayers() {
        gPlayerCount = 0;
        frmProgress w;
        auto* trial = qobject_cast<QChartView*>(w.chtTrial);
        QVERIFY(trial);
        QVERIFY(trial->chart()->series().isEmpty());
        QCOMPARE(w.grdConfusion->rowCount(), 0);
        QVERIFY(w.lblEmpty->text().contains(QStringLiteral("まだ記録がありません")));
    }

    // Qt Charts lives in a module loaded when the window opens; without it
    // the chart pages say why, and the table still shows the figures.
    void windowWithoutTheChartsModule() {
        gPlayerCount = 1;
        gCurPlayer = 0;
        // A program folder with the history's module but not the charts'.
        QTemporaryDir partial;
        const QString history = QStringLiteral("libvelmora_historydb.so");
        QVERIFY(QFile::copy(QDir(QStringLiteral(VELMORA_DIST_DIR)).filePath(history),
                            QDir(partial.path()).filePath(history)));
        SetModuleFolder(partial.path());
        frmProgress w;
        SetModuleFolder(QStringLiteral(VELMORA_DIST_DIR));
        for (QWidget* page : {w.chtTrial, w.chtLevel}) {
            auto* label = qobject_cast<QLabel*>(page);
            QVERIFY(label);
            QVERIFY(label->text().contains(QStringLiteral("libvelmora_charts.so")));
            QVERIFY(label->text().contains(QStringLiteral("インストールを確かめてください")));
        }
        QCOMPARE(w.grdConfusion->rowCount(), 2);
        w.show();
        QVERIFY(!w.grab().isNull());
    }
};

QTEST_MAIN(TestProgress)
#include "test_progress.moc"
