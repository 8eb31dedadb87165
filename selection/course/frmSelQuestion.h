// The course selection of the trial: the six courses with the player's
// totals, answered and correct problems and the ratio, and "中止".
#pragma once

#include <QWidget>
#include <array>

class QLabel;
class QPushButton;

class frmSelQuestion : public QWidget {
    Q_OBJECT
public:
    explicit frmSelQuestion(QWidget* parent = nullptr);

    // Rows 0..5 the courses, 6 "中止".
    std::array<QPushButton*, 7> cmdVol{};
    QLabel* lblDoing = nullptr;
    QLabel* lblZenmon = nullptr;
    QLabel* lblKaitou = nullptr;
    QLabel* lblSeikai = nullptr;
    QLabel* lblKaitouritu = nullptr;
    std::array<QLabel*, 6> lblProbs{};
    std::array<QLabel*, 6> lblAnswer{};
    std::array<QLabel*, 6> lblCorrect{};
    std::array<QLabel*, 30> lblRatio{}; // five one-character labels per course

    void cmdVolClick(int index);
    // Fills the rows from gCourses and the player's statistics.
    void BuildCourseList();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool closingByCode_ = false;
};
