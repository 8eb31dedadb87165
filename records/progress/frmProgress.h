// The window 成績の推移: the current player's trial totals over time per
// course, the correct rate per level per week, and which outcomes the player
// takes for which (best result against the result reached).
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTabWidget;
class QTableWidget;
struct ChartsModule;

class frmProgress : public QWidget {
    Q_OBJECT
public:
    explicit frmProgress(QWidget* parent = nullptr);
    ~frmProgress() override;

    QLabel* lblPlayer = nullptr;
    QTabWidget* tabPages = nullptr;
    // Chart views of the charts module (a QChartView each), or labels saying
    // why the charts cannot be shown when the module is missing.
    QWidget* chtTrial = nullptr;
    QWidget* chtLevel = nullptr;
    QTableWidget* grdConfusion = nullptr;
    QLabel* lblEmpty = nullptr;
    QPushButton* cmdExit = nullptr;

    // Fills the three pages from the current player's history.
    void Refresh();

private:
    const ChartsModule* charts_ = nullptr;
};
