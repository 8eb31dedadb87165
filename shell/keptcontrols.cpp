#include "shell/keptcontrols.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QTextDocument>
#include <QtMath>

namespace {

constexpr Qt::TextInteractionFlags kSelectable =
    Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard | Qt::TextEditable;

// Whether a row of premultiplied pixels holds any ink (a pixel that is not
// fully transparent), four pixels to a step.
bool RowInked(const QRgb* row, int width) {
    QRgb any = 0;
    int x = 0;
    for (; x + 4 <= width; x += 4)
        any |= row[x] | row[x + 1] | row[x + 2] | row[x + 3];
    for (; x < width; ++x)
        any |= row[x];
    return any != 0;
}

// The rows and columns of `image` that hold any ink (device pixels); empty
// for an image without any.
QRect InkedPart(const QImage& image) {
    const int width = image.width();
    const int height = image.height();
    const qsizetype stride = image.bytesPerLine();
    const uchar* bits = image.constBits();
    const auto row = [&](int y) { return reinterpret_cast<const QRgb*>(bits + y * stride); };
    int top = 0;
    while (top < height && !RowInked(row(top), width))
        ++top;
    if (top == height) return QRect();
    int bottom = height - 1;
    while (bottom > top && !RowInked(row(bottom), width))
        --bottom;
    int left = width;
    int right = -1;
    for (int y = top; y <= bottom; ++y) {
        const QRgb* r = row(y);
        for (int x = 0; x < left; ++x)
            if (r[x] != 0) {
                left = x;
                break;
            }
        for (int x = width - 1; x > right; --x)
            if (r[x] != 0) {
                right = x;
                break;
            }
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// A transparent picture of `size` at the screen's pixel ratio, with the
// control's own resolution (for fonts given in points).
QImage Canvas(const QWidget& control, QSize size, qreal ratio) {
    QImage canvas(qCeil(size.width() * ratio), qCeil(size.height() * ratio),
                  QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(ratio);
    canvas.setDotsPerMeterX(qRound(control.logicalDpiX() / 0.0254));
    canvas.setDotsPerMeterY(qRound(control.logicalDpiY() / 0.0254));
    canvas.fill(Qt::transparent);
    return canvas;
}

} // namespace

bool TextLabel::canKeepText() const {
    const QString& t = text();
    // Nothing to draw, or a picture: QLabel's own drawing is cheap then.
    if (t.isEmpty() || !isEnabled()) return false;
    if (frameWidth() != 0 || margin() != 0 || indent() > 0 || buddy()) return false;
    if (layoutDirection() == Qt::RightToLeft || (textInteractionFlags() & kSelectable))
        return false;
    if (textFormat() == Qt::RichText || textFormat() == Qt::MarkdownText) return false;
    if (textFormat() == Qt::AutoText && Qt::mightBeRichText(t)) return false;
    // A style sheet may give the text its own colour or box.
    return !style()->inherits("QStyleSheetStyle");
}

void TextLabel::drawText(const QSize& area, const QColor& colour, qreal ratio) {
    keptText_ = text();
    keptFont_ = font();
    keptArea_ = area;
    keptAlign_ = alignment();
    keptWrap_ = wordWrap();
    keptColour_ = colour;
    keptRatio_ = ratio;

    QImage canvas = Canvas(*this, area, ratio);
    {
        QPainter p(&canvas);
        p.setFont(keptFont_);
        // The flags and the call QLabel makes for plain text.
        int flags =
            int(QStyle::visualAlignment(Qt::LeftToRight, keptAlign_)) | Qt::TextForceLeftToRight;
        if (keptWrap_) flags |= Qt::TextWordWrap;
        QPalette palette = this->palette();
        palette.setColor(foregroundRole(), colour);
        style()->drawItemText(&p, QRect(QPoint(), area), flags, palette, true, keptText_,
                              foregroundRole());
    }
    const QRect inked = InkedPart(canvas);
    picture_ = inked.isEmpty() ? QImage() : canvas.copy(inked);
    picture_.setDevicePixelRatio(ratio);
    offset_ = inked.topLeft();
}

void TextLabel::paintEvent(QPaintEvent* event) {
    drewKept_ = false;
    if (!canKeepText()) {
        QLabel::paintEvent(event);
        return;
    }
    const QRect area = contentsRect();
    const qreal ratio = devicePixelRatioF();
    const QColor colour =
        palette()
            .brush(isActiveWindow() ? QPalette::Active : QPalette::Inactive, foregroundRole())
            .color();
    if (keptText_ != text() || keptArea_ != area.size() || keptRatio_ != ratio ||
        keptColour_ != colour || keptAlign_ != alignment() || keptWrap_ != wordWrap() ||
        keptFont_ != font())
        drawText(area.size(), colour, ratio);
    if (!picture_.isNull()) {
        QPainter p(this);
        p.drawImage(QPointF(area.topLeft()) + QPointF(offset_) / ratio, picture_);
    }
    drewKept_ = true;
}

bool KeptPicture::holds(const QWidget& control, const QStyleOption& option, bool same) const {
    return same && valid_ && rect_ == option.rect && state_ == int(option.state) &&
           palette_ == option.palette.cacheKey() && ratio_ == control.devicePixelRatioF() &&
           font_ == control.font();
}

QPainter* KeptPicture::begin(const QWidget& control, const QStyleOption& option) {
    rect_ = option.rect;
    state_ = int(option.state);
    palette_ = option.palette.cacheKey();
    font_ = control.font();
    ratio_ = control.devicePixelRatioF();
    valid_ = true;
    picture_ = Canvas(control, control.size(), ratio_);
    painter_ = new QPainter(&picture_);
    // Set up as a painter on the control itself would be.
    painter_->setFont(font_);
    painter_->setPen(control.palette().color(control.foregroundRole()));
    painter_->setBrush(control.palette().brush(control.backgroundRole()));
    return painter_;
}

void KeptPicture::end() {
    delete painter_;
    painter_ = nullptr;
    // Only the inked part is kept: copying transparent pixels costs as much
    // as copying drawn ones.
    const QRect inked = InkedPart(picture_);
    offset_ = inked.topLeft();
    picture_ = inked.isEmpty() ? QImage() : picture_.copy(inked);
    picture_.setDevicePixelRatio(ratio_);
}

void KeptPicture::paint(QWidget* control) const {
    if (picture_.isNull()) return;
    QPainter p(control);
    p.drawImage(QPointF(offset_) / ratio_, picture_);
}

template <typename Button, QStyle::ControlElement Element>
void KeptButton<Button, Element>::paintEvent(QPaintEvent* event) {
    drewKept_ = !this->style()->inherits("QStyleSheetStyle");
    if (!drewKept_) {
        Button::paintEvent(event);
        return;
    }
    QStyleOptionButton option;
    this->initStyleOption(&option);
    const bool same = kept_.text == option.text && kept_.features == option.features &&
                      kept_.iconSize == option.iconSize && keptIcon_ == option.icon.cacheKey();
    if (!picture_.holds(*this, option, same)) {
        kept_ = option;
        keptIcon_ = option.icon.cacheKey();
        picture_.redraw(*this, option, [&](QPainter* p) {
            this->style()->drawControl(Element, &option, p, this);
        });
    }
    picture_.paint(this);
}

template class KeptButton<QPushButton, QStyle::CE_PushButton>;
template class KeptButton<QRadioButton, QStyle::CE_RadioButton>;

void TextGroupBox::paintEvent(QPaintEvent* event) {
    drewKept_ = false;
    if (style()->inherits("QStyleSheetStyle")) {
        QGroupBox::paintEvent(event);
        return;
    }
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const bool same = kept_.text == option.text && kept_.subControls == option.subControls &&
                      kept_.activeSubControls == option.activeSubControls &&
                      kept_.textAlignment == option.textAlignment &&
                      kept_.textColor == option.textColor && kept_.lineWidth == option.lineWidth &&
                      kept_.midLineWidth == option.midLineWidth &&
                      kept_.features == option.features;
    if (!picture_.holds(*this, option, same)) {
        kept_ = option;
        picture_.redraw(*this, option, [&](QPainter* p) {
            style()->drawComplexControl(QStyle::CC_GroupBox, &option, p, this);
        });
    }
    picture_.paint(this);
    drewKept_ = true;
}
