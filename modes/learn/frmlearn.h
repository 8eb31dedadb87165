// The learn window: the player plays Black's moves against the stored tree,
// the system answers one second later, and the settled line is graded.
#pragma once

#include "learnlogic.h"
#include "library/problem.h"
#include "library/session.h"

#include <QString>
#include <QWidget>
#include <array>

class BoardView;
class QLabel;
class QPushButton;
class QTimer;

class frmLearn : public QWidget {
    Q_OBJECT
public:
    explicit frmLearn(QWidget* parent = nullptr);
    ~frmLearn() override;

    // Controls.
    BoardView* picBoard = nullptr;
    QLabel* lblMouse = nullptr;
    QPushButton* cmdShowNext = nullptr;
    QLabel* lblNext = nullptr;
    QPushButton* cmdPrev = nullptr;
    QPushButton* cmdRew = nullptr;
    QPushButton* cmdPrevProb = nullptr;
    QPushButton* cmdNextProb = nullptr;
    QPushButton* cmdModeChange = nullptr;
    QPushButton* cmdExit = nullptr;
    QLabel* lblQNth = nullptr;
    QLabel* lblProb = nullptr;
    QLabel* lblProbKekka = nullptr;
    QLabel* lblComment = nullptr;
    QLabel* lblNth = nullptr;
    QLabel* lblTeban = nullptr;
    QTimer* Timer1 = nullptr;

    // Operations.
    void ShowProblem();
    void ResetToStart();
    void PlayCandidate(int i);
    void StepBack();
    void UpdateLabels();
    void DrawBoard();
    void ShowCandidates();

    // Event handlers (public so that tests drive them without a clock or a mouse).
    void Timer1_Timer();
    void picBoard_MouseDown(int x, int y, int buttons);
    void cmdShowNext_Click();
    void cmdPrev_Click();
    void cmdRew_Click();
    void cmdPrevProb_Click();
    void cmdNextProb_Click();
    void cmdModeChange_Click();
    void cmdExit_Click();

    const learn::LearnState& state() const { return state_; }
    // The problem this window shows: its own copy, loaded by ShowProblem.
    const Problem& problem() const { return problem_; }
    // Opened from the problem picker (else from the review of a trial).
    bool fromPicker() const { return sel_.mode == 2; }
    int probNo() const { return sel_.probNo; }
    bool problemLoaded() const { return loaded_; }
    // The picture file a picture button shows now.
    static QString PictureOf(const QPushButton* button);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void SetPicture(QPushButton* button, const QString& file);
    void StartTimer();
    void RememberProblem();
    void ShowNoProblem(const QString& why);

    SelectionSnapshot sel_; // what the window was opened on
    Problem problem_;

    learn::LearnState state_;
    bool loaded_ = false;
    int busy_ = 0;         // > 0 while a move, a reply or the hint is in progress
    bool leaving_ = false; // the close comes from cmdExit / cmdModeChange
};
