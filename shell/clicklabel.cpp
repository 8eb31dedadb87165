#include "shell/clicklabel.h"

#include <QKeyEvent>
#include <QMouseEvent>

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        event->accept();
        emit clicked();
        return;
    }
    QLabel::mousePressEvent(event);
}

void ClickLabel::keyPressEvent(QKeyEvent* event) {
    // Reachable from the keyboard when the label takes focus.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Space) {
        event->accept();
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}
