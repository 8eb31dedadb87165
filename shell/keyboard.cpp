#include "shell/keyboard.h"

#include "platform/platform.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QList>
#include <QPair>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

namespace {

// Catches Return and Escape that no control of the window took.
class KeyboardButtons : public QObject {
public:
    KeyboardButtons(QWidget* window, QAbstractButton* leave, QAbstractButton* defaultButton,
                    std::initializer_list<KeyButton> keys)
        : QObject(window) {
        if (leave) map_.append({Qt::Key_Escape, leave});
        if (defaultButton) {
            map_.append({Qt::Key_Return, defaultButton});
            map_.append({Qt::Key_Enter, defaultButton});
        }
        for (const KeyButton& k : keys)
            if (k.button) map_.append({k.key, k.button});
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = static_cast<QWidget*>(parent());
        if (watched == window && event->type() == QEvent::Show) {
            // A focused push button answers Return itself (buttons made
            // since the set-up included).
            for (QPushButton* b : window->findChildren<QPushButton*>())
                b->setAutoDefault(true);
        }
        if (watched != window || event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~Qt::KeypadModifier) return false;
        for (const auto& [k, button] : map_) {
            if (k != key->key() || !button) continue;
            if (button->isEnabled() && button->isVisible())
                button->click();
            else
                Beep();
            return true;
        }
        return false;
    }

private:
    QList<QPair<int, QPointer<QAbstractButton>>> map_;
};

} // namespace

void SetKeyboardButtons(QWidget* window, QAbstractButton* leave, QAbstractButton* defaultButton,
                        std::initializer_list<KeyButton> keys) {
    auto* filter = new KeyboardButtons(window, leave, defaultButton, keys);
    window->installEventFilter(filter);
    for (QPushButton* b : window->findChildren<QPushButton*>())
        b->setAutoDefault(true);
}
