#include "frmProgress.h"

#include "library/courses.h"
#include "library/player.h"
#include "progress.h"
#include "shell/attempts.h"
#include "shell/controls.h"
#include "shell/windowlook.h"

#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QValueAxis>

namespace {

const QColor kSeriesColours[] = {QColor(200, 30, 30), QColor(30, 90, 200),  QColor(20, 140, 60),
                                 QColor(180, 100, 0), QColor(130, 40, 160), QColor(0, 140, 150)};

QDateTime Noon(const QDate& d) {
    return QDateTime(d, QTime(12, 0));
}

// A chart with a date axis below and a value axis to the left.
QChart* DateChart(const QString& title, const QString& valueTitle, double maxValue) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto* x = new QDateTimeAxis;
    x->setFormat(QStringLiteral("M/d"));
    x->setTitleText(QStringLiteral("日付"));
    auto* y = new QValueAxis;
    y->setLabelFormat(QStringLiteral("%d"));
    y->setTitleText(valueTitle);
    y->setRange(0, maxValue);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    return chart;
}

void AddSeries(QChart* chart, QLineSeries* s, int index) {
    s->setPointsVisible(true);
    s->setColor(kSeriesColours[size_t(index) % std::size(kSeriesColours)]);
    chart->addSeries(s);
    for (QAbstractAxis* axis : chart->axes())
        s->attachAxis(axis);
}

void FitDates(QChart* chart, QDate first, QDate last) {
    if (!first.isValid()) first = last = QDate::currentDate();
    auto* x = static_cast<QDateTimeAxis*>(chart->axes(Qt::Horizontal).value(0));
    x->setRange(Noon(first.addDays(-1)), Noon(last.addDays(1)));
}

} // namespace

frmProgress::frmProgress(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QStringLiteral("成績の推移"));
    setAccessibleName(windowTitle());
    setFixedSize(720, 520);
    ApplyWindowLook(this, QStringLiteral("kaede.bmp"), false);

    lblPlayer = new QLabel(this);
    NameControl(lblPlayer, QStringLiteral("lblPlayer"), QStringLiteral("プレイヤー"));
    lblPlayer->setGeometry(12, 8, 500, 24);

    tabPages = new QTabWidget(this);
    NameControl(tabPages, QStringLiteral("tabPages"), QStringLiteral("成績の推移"));
    tabPages->setGeometry(12, 38, 696, 430);

    chtTrial = new QChartView(tabPages);
    NameControl(chtTrial, QStringLiteral("chtTrial"), QStringLiteral("トライアルの累計"));
    chtTrial->setRenderHint(QPainter::Antialiasing);
    tabPages->addTab(chtTrial, QStringLiteral("トライアルの累計"));

    chtLevel = new QChartView(tabPages);
    NameControl(chtLevel, QStringLiteral("chtLevel"), QStringLiteral("レベル別正解率"));
    chtLevel->setRenderHint(QPainter::Antialiasing);
    tabPages->addTab(chtLevel, QStringLiteral("レベル別正解率"));

    grdConfusion = new QTableWidget(tabPages);
    NameControl(grdConfusion, QStringLiteral("grdConfusion"),
                QStringLiteral("最善の結果となった結果"));
    grdConfusion->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabPages->addTab(grdConfusion, QStringLiteral("結果の取り違え"));

    lblEmpty = new QLabel(this);
    NameControl(lblEmpty, QStringLiteral("lblEmpty"), QStringLiteral("記録なし"));
    lblEmpty->setGeometry(12, 478, 560, 32);
    lblEmpty->setWordWrap(true);

    cmdExit = new QPushButton(QStringLiteral("閉じる"), this);
    NameControl(cmdExit, QStringLiteral("cmdExit"), cmdExit->text());
    cmdExit->setGeometry(600, 478, 108, 32);
    connect(cmdExit, &QPushButton::clicked, this, &QWidget::close);

    Refresh();
}

frmProgress::~frmProgress() = default;

void frmProgress::Refresh() {
    if (gPlayerCount <= 0) {
        lblPlayer->setText(QStringLiteral("プレイヤーが登録されていません"));
    } else {
        lblPlayer->setText(QStringLiteral("プレイヤー：") +
                           gPlayerName[static_cast<size_t>(gCurPlayer)]);
    }
    const std::vector<Attempt> attempts =
        gPlayerCount > 0 ? AttemptsOf(gCurPlayer) : std::vector<Attempt>{};
    TellHistoryNotices(this);
    lblEmpty->setText(attempts.empty()
                          ? QStringLiteral("まだ記録がありません。トライアルや学習で問題を解くと、"
                                           "ここに成績の推移が表れます。")
                          : QStringLiteral("記録 %1 件").arg(attempts.size()));

    // Trial totals per course.
    const auto totals = TrialTotalsByCourse(attempts);
    int top = 10;
    QDate first, last;
    for (const auto& [course, days] : totals) {
        for (const DayTotal& d : days) {
            top = std::max(top, d.answered);
            if (!first.isValid() || d.day < first) first = d.day;
            if (!last.isValid() || d.day > last) last = d.day;
        }
    }
    QChart* trial = DateChart(QStringLiteral("トライアルの累計（解答数と正解数）"),
                              QStringLiteral("問"), top + top / 10 + 1);
    int index = 0;
    for (const auto& [course, days] : totals) {
        const QString title = course >= 0 && course < kCourseCount
                                  ? gCourses[static_cast<size_t>(course)].Title
                                  : QStringLiteral("？");
        auto* answered = new QLineSeries;
        answered->setName(title + QStringLiteral(" 解答"));
        auto* correct = new QLineSeries;
        correct->setName(title + QStringLiteral(" 正解"));
        for (const DayTotal& d : days) {
            const qreal x = qreal(Noon(d.day).toMSecsSinceEpoch());
            answered->append(x, d.answered);
            correct->append(x, d.correct);
        }
        AddSeries(trial, answered, index);
        AddSeries(trial, correct, index);
        QPen pen = correct->pen();
        pen.setStyle(Qt::DashLine);
        correct->setPen(pen);
        ++index;
    }
    FitDates(trial, first, last);
    QChart* old = chtTrial->chart();
    chtTrial->setChart(trial);
    delete old;

    // Correct rate per level per week.
    QChart* level = DateChart(QStringLiteral("レベル別の正解率（週ごと）"),
                              QStringLiteral("正解率（％）"), 100);
    first = last = QDate();
    index = 0;
    for (const auto& [lvl, weeks] : WeeklyRateByLevel(attempts)) {
        auto* s = new QLineSeries;
        s->setName(LevelTitle(lvl));
        for (const WeekRate& w : weeks) {
            s->append(qreal(Noon(w.week).toMSecsSinceEpoch()), w.percent());
            if (!first.isValid() || w.week < first) first = w.week;
            if (!last.isValid() || w.week > last) last = w.week;
        }
        AddSeries(level, s, index++);
    }
    FitDates(level, first, last.isValid() ? last.addDays(6) : last);
    old = chtLevel->chart();
    chtLevel->setChart(level);
    delete old;

    // Best result (rows) against the result reached (columns).
    const Confusion c = ConfusionTable(attempts);
    grdConfusion->clear();
    grdConfusion->setRowCount(int(c.best.size()));
    grdConfusion->setColumnCount(int(c.reached.size()));
    grdConfusion->setVerticalHeaderLabels(c.best);
    grdConfusion->setHorizontalHeaderLabels(c.reached);
    for (int r = 0; r < int(c.counts.size()); ++r) {
        for (int col = 0; col < int(c.counts[size_t(r)].size()); ++col) {
            const int n = c.counts[size_t(r)][size_t(col)];
            auto* item = new QTableWidgetItem(n > 0 ? QString::number(n) : QString());
            item->setTextAlignment(Qt::AlignCenter);
            if (n > 0 && c.best[r] == c.reached[col])
                item->setBackground(QColor(220, 240, 220));
            else if (n > 0)
                item->setBackground(QColor(250, 225, 225));
            grdConfusion->setItem(r, col, item);
        }
    }
    grdConfusion->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grdConfusion->setToolTip(QStringLiteral("行が最善の結果、列が実際の結果です"));
}
