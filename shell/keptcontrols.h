// Labels and push buttons that keep what they drew: the control is laid out
// and drawn once, when its text, state, size or look changes, into a picture
// of its own; every repaint after that copies the picture. Plain QLabel and
// QPushButton lay their text out and draw every glyph again on every paint,
// which is most of the cost of repainting a window.
#pragma once

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>

class TextLabel : public QLabel {
public:
    using QLabel::QLabel;

    // Whether the last repaint copied the kept picture (else QLabel's own
    // drawing served: rich text, a picture, a frame, a style sheet, or a
    // disabled label).
    bool drewKeptText() const { return drewKept_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool canKeepText() const;
    void drawText(const QSize& area, const QColor& colour, qreal ratio);

    // What the kept picture was drawn for.
    QString keptText_;
    QFont keptFont_;
    QSize keptArea_;
    Qt::Alignment keptAlign_;
    bool keptWrap_ = false;
    QColor keptColour_;
    qreal keptRatio_ = 0;

    QImage picture_; // the inked part of the drawn text
    QPoint offset_;  // where it lies in the label's contents
    bool drewKept_ = false;
};

class TextButton : public QPushButton {
public:
    using QPushButton::QPushButton;

    // Whether the last repaint copied the kept picture (else QPushButton's
    // own drawing served: a style sheet).
    bool drewKeptPicture() const { return drewKept_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // What the kept picture was drawn for.
    QStyleOptionButton kept_;
    qint64 keptIcon_ = 0;
    qint64 keptPalette_ = 0;
    QFont keptFont_;
    qreal keptRatio_ = 0;
    bool valid_ = false;

    QImage picture_;
    bool drewKept_ = false;
};
