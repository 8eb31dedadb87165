// The keyboard of our fixed-layout windows: Return, Escape and keys that
// press a window's own buttons.
#pragma once

#include <initializer_list>

class QAbstractButton;
class QWidget;

// The keyboard of a window: Return on a focused button presses it, Return
// anywhere else presses `defaultButton` (when given and enabled), Escape
// presses `leave` (the window's own way out, when given and enabled).
// Further keys may press buttons of their own (← / → stepping, Home / End).
// A key whose button is disabled beeps. Keys a focused control takes (the
// board's cursor, a button's Return) never get here.
struct KeyButton {
    int key;
    QAbstractButton* button;
};
void SetKeyboardButtons(QWidget* window, QAbstractButton* leave,
                        QAbstractButton* defaultButton = nullptr,
                        std::initializer_list<KeyButton> keys = {});
