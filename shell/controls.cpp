#include "controls.h"

#include "platform/platform.h"
#include "shell/keptcontrols.h"
#include "shell/windowlook.h"

#include <QLabel>
#include <QPalette>

QRect Twips(int left, int top, int width, int height) {
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                 TwipsToPixels(height));
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption, const QRect& r,
                  Qt::Alignment align) {
    auto* l = new TextLabel(caption, parent);
    NameControl(l, name, caption);
    l->setGeometry(r);
    l->setAlignment(align);
    SetBackground(l, QColor(255, 255, 255));
    return l;
}

void SetCaption(QLabel* label, const QString& text) {
    if (label->text() != text) label->setText(text);
    label->setAccessibleName(text);
}

void SetBackground(QWidget* w, const QColor& c) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, c);
    pal.setColor(QPalette::WindowText, Qt::black);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}
