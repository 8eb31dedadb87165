// The view window "鑑賞": replays the stored lines of a problem and lets the
// player examine a position with moves of both colours.
#pragma once

#include "library/session.h"
#include "viewlogic.h"

#include <QWidget>
#include <array>

class BoardView;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;
enum class Role;

class frmView : public QWidget {
    Q_OBJECT
public:
    explicit frmView(QWidget* parent = nullptr);
    ~frmView() override;

    // What the next tick of Timer1 does.
    enum : int { Idle = 0, PlayForward = 1, PlayBackward = 2, OneForward = 3, OneBackward = 4 };

    // Operations of the window.
    void ShowProblem();
    void SelectSequence();
    void StepForward();
    void StepBackward();
    void StartPlay(bool forwards, int intervalMs);
    void SetIdleButtons();
    void SetPlayingButtons();
    void UpdateLabels();
    void StartExamine();
    void EndExamine();
    void DrawBoard();

    // The tick of Timer1 (called by the timer; tests call it directly).
    void Timer1Tick();
    // A press on the board at point (x, y); buttons: bit 1 left, bit 2 right.
    void BoardPressed(int x, int y, int buttons);

    int TimerAction() const { return timerAction_; }
    const ReplayState& replay() const { return state_; }
    // Opened from the problem picker (else from the review of a trial).
    bool fromPicker() const { return sel_.mode == 3; }
    int probNo() const { return sel_.probNo; }

    // Controls.
    BoardView* picBoard = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, kMaxSequences> optRepresent{};
    QPushButton* cmdRew = nullptr;
    QPushButton* cmdPrev = nullptr;
    QPushButton* cmdPlayStop = nullptr;
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdQue = nullptr;
    QPushButton* cmdStop = nullptr;
    QPushButton* cmdExamine = nullptr;
    QPushButton* cmdPrevProb = nullptr;
    QPushButton* cmdNextProb = nullptr;
    QPushButton* cmdModeChange = nullptr;
    QPushButton* cmdExit = nullptr;
    QLabel* lblNowKekka = nullptr;
    QLabel* lblMouse = nullptr;
    QLabel* lblQNth = nullptr;
    QLabel* lblProbKekka = nullptr;
    QLabel* lblNext = nullptr;
    QLabel* lblNth = nullptr;
    QLabel* lblTeban = nullptr;
    QLabel* lblProb = nullptr;
    QTimer* Timer1 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void SetButtons(const PlayButtons& b);
    void SetPicture(QPushButton* button, const QString& base, bool active);
    void SetAction(int action);
    void SyncTimer();
    bool LoadShownProblem();
    void StepProblem(int delta);
    void RememberProblem();
    void Leave(Role next);

    void cmdNext_Click();
    void cmdPrev_Click();
    void cmdStop_Click();
    void cmdExamine_Click();
    void cmdModeChange_Click();
    void cmdExit_Click();

    // What the window was opened on, and its own copy of the problem, so no
    // other window's load changes it.
    SelectionSnapshot sel_;
    Problem problem_;

    ReplayState state_;
    int timerAction_ = Idle;
    unsigned actionSerial_ = 0; // changes whenever a button sets the action
    bool leaving_ = false;
    QButtonGroup* optGroup_ = nullptr;
};
