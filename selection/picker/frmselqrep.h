// The problem picker: pages of thumbnails of one volume, a focus frame, and
// the start of the learn or view window on the framed problem.
#pragma once

#include "pickerlogic.h"

#include <QWidget>
#include <array>
#include <vector>

class BoardView;
class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;

class frmSelQRep : public QWidget {
    Q_OBJECT
public:
    explicit frmSelQRep(QWidget* parent = nullptr);
    ~frmSelQRep() override;

    // Controls.
    QLabel* lblDoing = nullptr;
    QLabel* lblVolume = nullptr;
    QPushButton* cmdVolume = nullptr;
    QMenu* mnuVolume = nullptr;
    std::array<QAction*, picker::kVolumeCount> volItem{};
    std::array<BoardView*, picker::kPickerCells> picBoard{};
    std::array<QLabel*, picker::kPickerCells> lblQNum{};
    std::array<QLabel*, picker::kPickerCells> lblQLvl{};
    QLabel* lblBunsi = nullptr;
    QLabel* lblSlash = nullptr;
    QLabel* lblBunbo = nullptr;
    QPushButton* cmdM1 = nullptr;
    QPushButton* cmdM10 = nullptr;
    QPushButton* cmdM50 = nullptr;
    QPushButton* cmdP1 = nullptr;
    QPushButton* cmdP10 = nullptr;
    QPushButton* cmdP50 = nullptr;
    QLabel* lblM1 = nullptr;
    QLabel* lblM10 = nullptr;
    QLabel* lblM50 = nullptr;
    QLabel* lblP1 = nullptr;
    QLabel* lblP10 = nullptr;
    QLabel* lblP50 = nullptr;
    std::array<QWidget*, 4> linFocus{};
    QPushButton* cmdGo = nullptr;
    QPushButton* cmdExit = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    // Per thumbnail: "○" solved at the last attempt, "×" failed at it.
    std::array<QLabel*, picker::kPickerCells> lblTried{};
    // Show only the problems due for 復習 today, and how many there are.
    QCheckBox* chkDue = nullptr;
    QLabel* lblDue = nullptr;

    // Picker state.
    int PageNo = 0;
    int PageCount = 1;
    int CursorCell = 0;

    void ShowVolume();
    void DrawPage();
    void PlaceFocus();

    // Event handlers (public so that tests drive them directly).
    void cmdVolume_Click();
    void volItem_Click(int i);
    void cmdM1_Click();
    void cmdM10_Click();
    void cmdM50_Click();
    void cmdP1_Click();
    void cmdP10_Click();
    void cmdP50_Click();
    void picBoard_Click(int k);
    void cmdGo_Click();
    void cmdExit_Click();

    // The problem the focus frame is on (P x PageNo + CursorCell).
    int ChosenProblem() const;
    // How many times a page has been drawn.
    int pageDraws() const { return pageDraws_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    void TurnPage(int delta);
    void Remember();
    int ProblemCount() const;
    // The problem shown in place `slot` of the pages (all, or only those due).
    int ProblemAt(int slot) const;
    void RefreshDueList();

    bool leaving_ = false;    // the close comes from cmdGo / cmdExit
    bool remembered_ = false; // the position has been written on the way out
    int pageDraws_ = 0;
    std::vector<int> due_; // the problems due today while chkDue is on
};
