// Small helpers every fixed-layout window uses to place and caption controls.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <Qt>

class QLabel;
class QWidget;

// A rectangle given in twips (15 to a pixel).
QRect Twips(int left, int top, int width, int height);
// An opaque white label with black text, named for code and screen readers.
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption, const QRect& r,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
// Sets a label's caption and its accessible name together.
void SetCaption(QLabel* label, const QString& text);
// Fills a control's background with a plain colour (black text).
void SetBackground(QWidget* w, const QColor& c);
