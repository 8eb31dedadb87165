// The review window "復習": the questions of the trial just played, each
// with its start position and the player's answer marked.
#pragma once

#include "board/boardview.h"
#include "library/session.h"

#include <QList>
#include <QWidget>
#include <array>

class QLabel;
class QPushButton;
class QRadioButton;
enum class Role;
struct AnswerEntry;

// The board of the review: the start position and the answer mark.
class ReviewBoard : public BoardView {
    Q_OBJECT
public:
    explicit ReviewBoard(QWidget* parent = nullptr);
    // The mark "○" or "×" printed with its text starting at `place` of the
    // drawing area; an empty mark removes it.
    void SetMark(const QString& mark, QPoint place, double pointSize);
    // The right first moves, "○" in their own colour at their text places.
    void SetRightMarks(const QList<QPoint>& places);
    const QString& mark() const { return mark_; }
    const QList<QPoint>& rightMarks() const { return right_; }
    QPoint markPlace() const { return place_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString mark_;
    QPoint place_;
    QList<QPoint> right_;
    double pointSize_ = 16;
};

class frmHukusyu : public QWidget {
    Q_OBJECT
public:
    explicit frmHukusyu(QWidget* parent = nullptr);
    ~frmHukusyu() override;

    // Shows question i (a click on its option).
    void SelectQuestion(int i);

    // Controls.
    QLabel* lblDoing = nullptr;
    std::array<QRadioButton*, 10> optQuestion{};
    QLabel* lblQuestion = nullptr;
    ReviewBoard* picBoard = nullptr;
    QLabel* lblLegend = nullptr; // "×＝あなたの解答　○＝正解" under the board
    QPushButton* cmdReStudy = nullptr;
    QPushButton* cmdReView = nullptr;
    QPushButton* cmdRetry = nullptr;
    QPushButton* cmdExit = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void ListQuestions();
    void ShowRightMoves(const AnswerEntry& entry, int lines);
    void Leave(Role next);
    void cmdExit_Click();

    bool leaving_ = false;
    // The trial's course and answer sheet as they were when the window
    // opened: the questions it lists and the ones it hands on.
    int16_t course_ = 0;
    std::array<AnswerEntry, kTrialQuestions> sheet_{};
};
