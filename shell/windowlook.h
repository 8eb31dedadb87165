// The common window look: background picture (or the plain colour) and the
// window placement chosen by the player.
#pragma once

#include <QString>

class QWidget;

// Background picture gDataPath + picture when forced, or when the name is not
// empty and neither Background nor ColorMode is 1; otherwise RGB(128,128,0).
// Then centres the window, or puts it at (0,0) when FormArrange is 1.
void ApplyWindowLook(QWidget* window, const QString& picture, bool force);
// Whether ApplyWindowLook shows a picture for these settings (pure).
bool WindowLookUsesPicture(const QString& picture, bool force, int background, int colorMode);
// Sets an accessible name and object name in one go.
void NameControl(QWidget* w, const QString& objectName, const QString& accessibleName);
// One message box for each damaged file that was repaired or read in part
// since the last call: the user hears of each once.
void ShowFileNotices(QWidget* owner);
// The comment lists, read when a window first needs them (not at start-up);
// the run ends with a message naming the file when they cannot be read.
void NeedCommentLists(QWidget* owner);
