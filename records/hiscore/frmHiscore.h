// The ranking of the course family after a trial: the top ten with the new
// result highlighted, the verdict once the window is up, and "ＯＫ" to save
// the ranking and go on to the review.
#pragma once

#include "hiscore.h"

#include <QWidget>
#include <array>

class QLabel;
class QPushButton;
class QTimer;

class frmHiscore : public QWidget {
    Q_OBJECT
public:
    explicit frmHiscore(QWidget* parent = nullptr);

    static constexpr int kRows = kRankingSize + 1;

    QLabel* lblDoing = nullptr;
    QLabel* lblRank = nullptr;
    QLabel* lblPoint = nullptr;
    QLabel* lblCorrect = nullptr;
    QLabel* lblName = nullptr;
    QLabel* lblDate = nullptr;
    QLabel* lblTime = nullptr;
    std::array<QLabel*, kRows> lblArrayRank{};
    std::array<QLabel*, kRows> lblArrayPoint{};
    std::array<QLabel*, kRows> lblArrayCorrect{};
    std::array<QLabel*, kRows> lblArrayName{};
    std::array<QLabel*, kRows> lblArrayDate{};
    std::array<QLabel*, kRows> lblArrayTime{};
    QPushButton* cmdExit = nullptr;
    QTimer* Timer1 = nullptr;

    // Every 500 ms: the verdict box, once.
    void Timer1Tick();
    // "ＯＫ": writes the ranking and opens the review.
    void cmdExitClick();

    const MergedRanking& ranking() const { return ranking_; }
    const ScoreEntry& newEntry() const { return newEntry_; }
    bool messagePending() const { return messagePending_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void loadRanking();
    void showRanking();
    void closeByCode();

    ScoreEntry newEntry_;
    std::vector<ScoreEntry> loaded_;
    MergedRanking ranking_;
    QString readProblem_; // what went wrong reading the file, if anything
    bool messagePending_ = false;
    bool closingByCode_ = false;
    bool done_ = false;
};
