// Opening windows by role. Windows never include one another: a window asks
// the router for the next window of its road; app/ registers the classes.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>

enum class Role {
    Menu,
    Registration, // frmPlayerRegist
    Settings,     // frmSetmode
    CourseSelect, // course selection (trial)
    Trial,        // frmTrial
    HiScore,      // high scores
    Review,       // frmHukusyu
    Picker,       // frmSelQRep
    Learn,        // frmLearn
    View,         // frmView
    About,        // frmAboutThis (modal)
    Help,         // frmHelp
    Progress,     // frmProgress: 成績の推移
};

using WindowFactory = std::function<QWidget*()>;

void RegisterWindow(Role role, WindowFactory factory);
bool IsWindowRegistered(Role role);
// Creates the window of `role`, shows it without blocking (the About window
// modally) and returns it. The window deletes itself when closed. Returns
// nullptr (after a beep) when no window is registered for the role.
QWidget* OpenWindow(Role role);

// Whether a window of the menu's roads (a mode, a selection, the records
// screens) is open: the menu then starts nothing, so that one mode at a time
// owns the current selection, the loaded player and the answer sheet.
bool IsRoadRole(Role role);
bool RoadWindowOpen();

// The main menu's refresh routine: re-reads the roster and the current
// player's file and refreshes the menu. Every window that leads back to the
// menu, or that the user closes from its frame, calls it.
void MyInitForm();
void SetMenuRefresh(std::function<void()> refresh);

// The main menu window while it exists (nullptr before start-up and after it
// closed). The message window places itself relative to it.
void SetMenuWindow(QWidget* menu);
QWidget* MenuWindow();
