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

void TextButton::paintEvent(QPaintEvent* event) {
    drewKept_ = false;
    if (style()->inherits("QStyleSheetStyle")) {
        QPushButton::paintEvent(event);
        return;
    }
    QStyleOptionButton option;
    initStyleOption(&option);
    const qreal ratio = devicePixelRatioF();
    const bool same = valid_ && kept_.state == option.state && kept_.text == option.text &&
                      kept_.features == option.features && kept_.rect == option.rect &&
                      kept_.iconSize == option.iconSize && keptIcon_ == option.icon.cacheKey() &&
                      keptPalette_ == option.palette.cacheKey() && keptRatio_ == ratio &&
                      keptFont_ == font();
    if (!same) {
        kept_ = option;
        keptIcon_ = option.icon.cacheKey();
        keptPalette_ = option.palette.cacheKey();
        keptFont_ = font();
        keptRatio_ = ratio;
        valid_ = true;
        picture_ = Canvas(*this, size(), ratio);
        // The drawing QPushButton makes, into the picture.
        QPainter p(&picture_);
        // Set up as a painter on the button itself would be.
        p.setFont(font());
        p.setPen(palette().color(foregroundRole()));
        p.setBrush(palette().brush(backgroundRole()));
        style()->drawControl(QStyle::CE_PushButton, &option, &p, this);
    }
    QPainter p(this);
    p.drawImage(0, 0, picture_);
    drewKept_ = true;
}
