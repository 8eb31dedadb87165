#include "frmProgress.h"

#include "charts.h"
#include "library/courses.h"
#include "library/modules.h"
#include "library/player.h"
#include "progress.h"
#include "shell/attempts.h"
#include "shell/controls.h"
#include "shell/windowlook.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

namespace {

const QColor kSeriesColours[] = {QColor(200, 30, 30), QColor(30, 90, 200),  QColor(20, 140, 60),
                                 QColor(180, 100, 0), QColor(130, 40, 160), QColor(0, 140, 150)};

QColor SeriesColour(int index) {
    return kSeriesColours[size_t(index) % std::size(kSeriesColours)];
}

QDateTime Noon(const QDate& d) {
    return QDateTime(d, QTime(12, 0));
}

QPointF At(const QDate& day, double value) {
    return QPointF(qreal(Noon(day).toMSecsSinceEpoch()), value);
}

void FitDates(DateChart& chart, QDate first, QDate last) {
    const DateSpan span = DateAxis(first, last);
    chart.from = Noon(span.from);
    chart.to = Noon(span.to);
    chart.dateTicks = span.ticks;
}

// The charts module, loaded when the window first opens; null with the
// reason in `why` when it cannot be used.
const ChartsModule* Charts(QString* why) {
    const auto entry =
        reinterpret_cast<ChartsEntry>(ModuleEntry(kChartsModuleName, kChartsModuleEntry, why));
    const ChartsModule* charts = entry ? entry() : nullptr;
    if (entry && (!charts || charts->version != kChartsVersion)) {
        charts = nullptr;
        *why = QStringLiteral("%1 はこのプログラムと版が合いません")
                   .arg(QFileInfo(ModuleFilePath(kChartsModuleName)).fileName());
    }
    return charts;
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

    QString why;
    charts_ = Charts(&why);
    const auto chartPage = [this, &why](const QString& name, const QString& caption) {
        QWidget* page = nullptr;
        if (charts_) {
            page = charts_->newView(tabPages);
        } else {
            // Without the charts the figures cannot be drawn; say why instead.
            auto* label = new QLabel(QStringLiteral("グラフを表示する部品を読み込めません。"
                                                    "インストールを確かめてください。\n") +
                                         why,
                                     tabPages);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignCenter);
            label->setMargin(24);
            page = label;
        }
        NameControl(page, name, caption);
        tabPages->addTab(page, caption);
        return page;
    };
    chtTrial = chartPage(QStringLiteral("chtTrial"), QStringLiteral("トライアルの累計"));
    chtLevel = chartPage(QStringLiteral("chtLevel"), QStringLiteral("レベル別正解率"));

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
    DateChart trial;
    trial.title = QStringLiteral("トライアルの累計（解答数と正解数）");
    trial.valueTitle = QStringLiteral("問");
    trial.maxValue = top + top / 10 + 1;
    int index = 0;
    for (const auto& [course, days] : totals) {
        const QString title = course >= 0 && course < kCourseCount
                                  ? gCourses[static_cast<size_t>(course)].Title
                                  : QStringLiteral("？");
        ChartLine answered{title + QStringLiteral(" 解答"), SeriesColour(index), false, {}};
        ChartLine correct{title + QStringLiteral(" 正解"), SeriesColour(index), true, {}};
        for (const DayTotal& d : days) {
            answered.points << At(d.day, d.answered);
            correct.points << At(d.day, d.correct);
        }
        trial.lines << answered << correct;
        ++index;
    }
    FitDates(trial, first, last);

    // Correct rate per level per week.
    DateChart level;
    level.title = QStringLiteral("レベル別の正解率（週ごと）");
    level.valueTitle = QStringLiteral("正解率（％）");
    level.maxValue = 100;
    first = last = QDate();
    index = 0;
    for (const auto& [lvl, weeks] : WeeklyRateByLevel(attempts)) {
        ChartLine s{LevelTitle(lvl), SeriesColour(index++), false, {}};
        for (const WeekRate& w : weeks) {
            s.points << At(w.week, w.percent());
            if (!first.isValid() || w.week < first) first = w.week;
            if (!last.isValid() || w.week > last) last = w.week;
        }
        level.lines << s;
    }
    FitDates(level, first, last.isValid() ? last.addDays(6) : last);
    if (charts_) {
        charts_->show(chtTrial, trial);
        charts_->show(chtLevel, level);
    }

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
