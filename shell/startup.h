// The start-up window (frmStartup) and the start-up sequence.
#pragma once

#include <QString>
#include <QWidget>

inline constexpr const char* kSecondInstanceText = "このプログラムは複数回起動できません";

class frmStartup : public QWidget {
    Q_OBJECT
public:
    explicit frmStartup(QWidget* parent = nullptr);
};

// Runs the start-up sequence for the program in `programFolder`: refuses a
// second running copy (message, then false: the caller ends at once), sets
// gDataPath, reads the roster and the current player's settings, shows the
// splash window, opens the main menu and closes the splash again.
bool StartUp(const QString& programFolder);
