#include "frmHiscore.h"

#include "board/boardview.h"
#include "library/files.h"
#include "library/player.h"
#include "library/session.h"
#include "library/writefolder.h"
#include "platform/platform.h"
#include "shell/controls.h"
#include "shell/keyboard.h"
#include "shell/router.h"
#include "shell/windowlook.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kWindowW = 8700;
constexpr int kWindowH = 7200;
constexpr int kRowStep = 460;
constexpr int kHeadTop = 780;
constexpr int kRowTop = 1200;
constexpr int kRowH = 390;

struct Column {
    int left;
    int width;
    Qt::Alignment align;
};
constexpr Column kRankCol{300, 660, Qt::AlignCenter};
constexpr Column kPointCol{1020, 900, Qt::AlignRight | Qt::AlignVCenter};
constexpr Column kCorrectCol{1980, 900, Qt::AlignRight | Qt::AlignVCenter};
constexpr Column kNameCol{2940, 2460, Qt::AlignLeft | Qt::AlignVCenter};
constexpr Column kDateCol{5460, 1500, Qt::AlignCenter};
constexpr Column kTimeCol{7020, 1380, Qt::AlignCenter};

} // namespace

frmHiscore::frmHiscore(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmHiscore"));
    setWindowTitle(QStringLiteral("ハイスコア"));
    setFixedSize(TwipsToPixels(kWindowW), TwipsToPixels(kWindowH));

    lblDoing = MakeLabel(this, QStringLiteral("lblDoing"), QStringLiteral("得点のランキングです"),
                         Twips(300, 240, 8100, 420), Qt::AlignLeft | Qt::AlignVCenter);
    const auto heading = [this](const char* name, const QString& caption, const Column& c) {
        return MakeLabel(this, QLatin1String(name), caption,
                         Twips(c.left, kHeadTop, c.width, kRowH), Qt::AlignCenter);
    };
    lblRank = heading("lblRank", QStringLiteral("順位"), kRankCol);
    lblPoint = heading("lblPoint", QStringLiteral("得点"), kPointCol);
    lblCorrect = heading("lblCorrect", QStringLiteral("正答数"), kCorrectCol);
    lblName = heading("lblName", QStringLiteral("名前"), kNameCol);
    lblDate = heading("lblDate", QStringLiteral("日付"), kDateCol);
    lblTime = heading("lblTime", QStringLiteral("時刻"), kTimeCol);

    const auto cell = [this](const char* name, int i, const QString& caption, const Column& c) {
        return MakeLabel(this, QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i), caption,
                         Twips(c.left, kRowTop + kRowStep * i, c.width, kRowH), c.align);
    };
    for (int i = 0; i < kRows; ++i) {
        const auto k = static_cast<size_t>(i);
        lblArrayRank[k] = cell("lblArrayRank", i, QStringLiteral("XX"), kRankCol);
        lblArrayPoint[k] = cell("lblArrayPoint", i, QStringLiteral("XXXX"), kPointCol);
        lblArrayCorrect[k] = cell("lblArrayCorrect", i, QStringLiteral("XXXX"), kCorrectCol);
        lblArrayName[k] = cell("lblArrayName", i, QStringLiteral("Label1"), kNameCol);
        lblArrayDate[k] = cell("lblArrayDate", i, QStringLiteral("96/03/31"), kDateCol);
        lblArrayTime[k] = cell("lblArrayTime", i, QStringLiteral("15:59:59"), kTimeCol);
    }

    cmdExit = new QPushButton(QStringLiteral("ＯＫ"), this);
    NameControl(cmdExit, QStringLiteral("cmdExit"), QStringLiteral("ＯＫ"));
    cmdExit->setGeometry(Twips(3450, 6420, 1800, 510));
    cmdExit->setDefault(true);
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExitClick(); });
    SetKeyboardButtons(this, cmdExit, cmdExit);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Tick(); });

    // Loading the window.
    if (gPlayerCount > 0) {
        QString error;
        if (!LoadPlayerFile(gCurPlayer, &error)) FatalError(error);
    }
    ApplyWindowLook(this, QStringLiteral("marble.bmp"), false);
    messagePending_ = false;
    loadRanking();
    ranking_ = MergeRanking(loaded_, newEntry_);
    showRanking();
    messagePending_ = true;
    Timer1->start();
}

void frmHiscore::loadRanking() {
    const QString name = (gCurPlayer >= 0 && gCurPlayer < gPlayerCount)
                             ? gPlayerName[static_cast<size_t>(gCurPlayer)]
                             : QString();
    newEntry_ = NewScoreEntry(gAnswerSheet, name, HiscoreNow());
    loaded_.clear();
    readProblem_.clear();

    const QString fileName = HiscoreFileName(gCourse);
    const QString path = WriteFolderFile(fileName);
    if (!QFileInfo::exists(path)) return;
    QString error;
    const auto bytes = ReadFileBounded(path, kRankingFileMax, &error);
    if (!bytes) {
        readProblem_ = error;
        return;
    }
    const RankingRead read = ParseRanking(*bytes);
    loaded_ = read.entries;
    if (read.badLine > 0)
        readProblem_ = QStringLiteral("ランキングファイル %1 の %2 行目が読めません。")
                           .arg(fileName)
                           .arg(read.badLine);
}

void frmHiscore::showRanking() {
    const int count = static_cast<int>(ranking_.merged.size()) - 1;
    for (int j = 0; j < kRows; ++j) {
        const auto k = static_cast<size_t>(j);
        const std::array<QLabel*, 6> row{lblArrayRank[k], lblArrayPoint[k], lblArrayCorrect[k],
                                         lblArrayName[k], lblArrayDate[k],  lblArrayTime[k]};
        if (j > count) {
            for (QLabel* l : row)
                l->hide();
            continue;
        }
        const ScoreEntry& e = ranking_.merged[k];
        SetCaption(lblArrayRank[k],
                   j == kRankingSize ? QStringLiteral("--") : QString::number(j + 1));
        SetCaption(lblArrayPoint[k], QString::number(e.Score));
        SetCaption(lblArrayCorrect[k], QString::number(e.CorrectCount));
        SetCaption(lblArrayName[k], e.PlayerName);
        SetCaption(lblArrayDate[k], ShortDate(e.PlayDate));
        SetCaption(lblArrayTime[k], e.PlayTime);
        if (j == ranking_.newPosition) {
            for (QLabel* l : row) {
                SetBackground(l, QColor(255, 128, 255));
                l->show();
            }
        } else if (j == kRankingSize) {
            for (QLabel* l : row)
                l->hide();
        } else {
            for (QLabel* l : row) {
                SetBackground(l, QColor(255, 255, 128));
                l->show();
            }
        }
    }
}

void frmHiscore::Timer1Tick() {
    if (!messagePending_) return;
    messagePending_ = false;
    Timer1->stop();
    if (!readProblem_.isEmpty())
        CurrentPlatform().messageBox(
            readProblem_ + QStringLiteral("\n読めた分だけのランキングを表示しています。"
                                          "\nＯＫを押すと、元のファイルは別の名前で残して"
                                          "新しいランキングを保存します。"),
            this);
    CurrentPlatform().messageBox(
        ranking_.rankedIn ? QStringLiteral("おめでとうございます。ランクインしました。")
                          : QStringLiteral("ランクインしませんでした。次回がんばってください。"),
        this);
}

void frmHiscore::cmdExitClick() {
    if (done_) return;
    done_ = true;
    messagePending_ = false;
    Timer1->stop();
    {
        BusyCursor busy;
        const QString path = WriteFolderFile(HiscoreFileName(gCourse));
        QString error;
        QString keptAs;
        // A file that was read only in part holds entries the new one would
        // drop: it goes aside first.
        bool ok = true;
        if (!readProblem_.isEmpty() && QFileInfo::exists(path)) {
            keptAs = KeepAside(path, &error);
            ok = !keptAs.isEmpty();
        }
        ok = ok && WriteFileAtomic(path, FormatRanking(ranking_.merged), &error);
        if (!ok)
            CurrentPlatform().messageBox(
                QStringLiteral("ランキングを保存できませんでした。\n") + error, this);
        else if (!keptAs.isEmpty())
            CurrentPlatform().messageBox(
                QStringLiteral("読めなかったランキングファイルは %1 という名前で残しました。")
                    .arg(keptAs),
                this);
        OpenWindow(Role::Review);
    }
    closeByCode();
}

void frmHiscore::closeByCode() {
    closingByCode_ = true;
    close();
}

void frmHiscore::closeEvent(QCloseEvent* event) {
    Timer1->stop();
    messagePending_ = false;
    if (!closingByCode_) {
        // Closed from the frame: back to the menu; the ranking is not written.
        MyInitForm();
        frmSource::Unload();
    }
    event->accept();
}
