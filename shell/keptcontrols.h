// Labels, push buttons, option buttons and group boxes that keep what they
// drew: the control is laid out and drawn once, when its text, state, size
// or look changes, into a picture of its own; every repaint after that
// copies the picture. Plain QLabel, QPushButton, QRadioButton and QGroupBox
// lay their text out and draw every glyph again on every paint, which is
// most of the cost of repainting a window.
#pragma once

#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

// The picture a control keeps of its own style drawing, and what it was
// drawn for besides what is particular to the control: its rectangle and
// state, the palette, the font and the pixel ratio.
class KeptPicture {
public:
    // Whether the picture still shows `control` drawn with `option`, given
    // that what is particular to the control is `same`.
    bool holds(const QWidget& control, const QStyleOption& option, bool same) const;
    // Draws the picture again: `draw` gets a painter set up as a painter on
    // the control itself would be.
    template <typename Draw>
    void redraw(const QWidget& control, const QStyleOption& option, Draw draw) {
        QPainter* p = begin(control, option);
        draw(p);
        end();
    }
    // Copies the picture onto the control.
    void paint(QWidget* control) const;

private:
    QPainter* begin(const QWidget& control, const QStyleOption& option);
    void end();

    QRect rect_;
    int state_ = 0;
    qint64 palette_ = 0;
    QFont font_;
    qreal ratio_ = 0;
    bool valid_ = false;
    QImage picture_; // the inked part of the drawing
    QPoint offset_;  // where it lies on the control, in device pixels
    QPainter* painter_ = nullptr;
};

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

// A push or option button that keeps its picture: `Element` is the style's
// drawing of the button kind.
template <typename Button, QStyle::ControlElement Element> class KeptButton : public Button {
public:
    using Button::Button;

    // Whether the last repaint copied the kept picture (else the button's
    // own drawing served: a style sheet).
    bool drewKeptPicture() const { return drewKept_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // What the kept picture was drawn for.
    QStyleOptionButton kept_;
    qint64 keptIcon_ = 0;
    KeptPicture picture_;
    bool drewKept_ = false;
};

extern template class KeptButton<QPushButton, QStyle::CE_PushButton>;
extern template class KeptButton<QRadioButton, QStyle::CE_RadioButton>;
using TextButton = KeptButton<QPushButton, QStyle::CE_PushButton>;
using TextRadio = KeptButton<QRadioButton, QStyle::CE_RadioButton>;

class TextGroupBox : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

    // Whether the last repaint copied the kept picture (else QGroupBox's own
    // drawing served: a style sheet).
    bool drewKeptPicture() const { return drewKept_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStyleOptionGroupBox kept_;
    KeptPicture picture_;
    bool drewKept_ = false;
};
