// The main menu (frmMenu): the home window of the program.
#pragma once

#include <QMainWindow>
#include <QString>
#include <array>

class QAction;
class QButtonGroup;
class QLabel;
class QMenu;
class QRadioButton;

inline constexpr int kMenuEntries = 6;
// Caption and explanation (lines separated by "\n") of menu entry i (0..5).
QString MenuEntryCaption(int i);
QString MenuEntryExplanation(int i);

class frmMenu : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMenu(QWidget* parent = nullptr);
    ~frmMenu() override;

    // Re-reads the roster and the current player's file, refreshes the
    // player label and the window look.
    void MyInitForm();
    // Starts the selected entry (the second click on it).
    void StartSelected();
    // The entry shown as selected, or -1.
    int selectedEntry() const;

    QLabel* Label5 = nullptr;
    QLabel* lblPlayer = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* lblExplain = nullptr;
    QLabel* lblDoing = nullptr;
    std::array<QRadioButton*, kMenuEntries> optMode{};
    QMenu* mnuHelp = nullptr;
    QAction* mnuUsage = nullptr;
    QAction* mnuVersion = nullptr;
    QLabel* lblStartHint = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void optMode_Click(int i);
    QButtonGroup* group_ = nullptr;
};
