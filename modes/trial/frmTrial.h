// The timed trial: ten questions drawn from the chosen course, one move each
// within the thinking time, the score moved into the total after each
// verdict, and the high scores at the end.
#pragma once

#include "library/draw.h"
#include "library/problem.h"
#include "rules/rules.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

class BoardView;
class QLabel;
class QPushButton;
class QTimer;

class frmTrial : public QWidget {
    Q_OBJECT
public:
    // Modes of the trial's timer.
    enum Mode { Idle = 0, Answering = 1, Message = 2, Transfer = 3 };

    // `seed` fixes the draw (tests); without it the clock seeds it.
    explicit frmTrial(std::optional<uint64_t> seed = std::nullopt, QWidget* parent = nullptr);
    ~frmTrial() override;

    BoardView* picBoard = nullptr;
    QTimer* Timer1 = nullptr;
    QPushButton* Command1 = nullptr;
    std::array<QLabel*, kTrialQuestions> lblProbUsed{};
    QLabel* Label1 = nullptr;  // 第3問
    QLabel* Label2 = nullptr;  // #12
    QLabel* Label3 = nullptr;  // aim
    QLabel* Label4 = nullptr;  // 黒先 + best result
    QLabel* Label7 = nullptr;  // level
    QLabel* Label10 = nullptr; // 現在得点
    QLabel* Label13 = nullptr; // current points
    QLabel* Label6 = nullptr;  // 総得点
    QLabel* Label11 = nullptr; // total
    QLabel* Label12 = nullptr; // verdict
    QLabel* lblComment = nullptr;
    QLabel* lblTime = nullptr;

    // Timer1's handler: one second in modes 1 and 2, 100 ms in mode 3.
    void Timer1Tick();
    // A press on the board mapped to a point; buttons bit 1 is the left one.
    void picBoardMouseDown(int x, int y, int buttons);
    // "終了": saves and goes on to the high scores at any time.
    void Command1Click();

    int mode() const { return mode_; }
    int seconds() const { return seconds_; }
    int basePoints() const { return basePoints_; }
    int points() const { return points_; }
    int total() const { return total_; }
    int transfer() const { return transfer_; }
    bool answered() const { return answered_; }
    int problemResult() const { return problemResult_; }
    int answerResult() const { return answerResult_; }
    const CurrentPosition& position() const { return position_; }
    // The trial's own course, question and problem: no other window's
    // selection or load changes what it asks, draws or judges.
    int course() const { return course_; }
    int questionNo() const { return questionNo_; }
    int probNo() const { return probNo_; }
    const Problem& problem() const { return problem_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    bool setUpQuestion();
    void showCountdown();
    void showVerdict(const QString& text);
    void endVerdict();
    void nextQuestion();
    void refreshProgress(int extra);
    void endTrial();
    void closeByCode();
    void holdBusy(bool on);
    void setQuestionNo(int n);
    void markAnswers();

    TrialRandom random_;
    int mode_ = Idle;
    int seconds_ = 0;
    int basePoints_ = 100;
    int points_ = 0;
    int total_ = 0;
    bool answered_ = false;
    int transfer_ = 0;
    int problemResult_ = -1;
    int answerResult_ = -1;
    CurrentPosition position_;
    int16_t course_ = 0;
    int16_t questionNo_ = 0;
    int16_t probNo_ = -1;
    Problem problem_;
    // Global indices of this trial's questions and whether each was answered
    // correctly: entered into the record again before it is saved.
    std::vector<std::pair<int, bool>> marks_;
    bool closingByCode_ = false;
    bool busy_ = false;
    bool ended_ = false;
};
