#include "shell/windowlook.h"

#include "library/files.h"
#include "library/player.h"
#include "platform/bitmap.h"
#include "platform/platform.h"

#include <QGuiApplication>
#include <QImage>
#include <QMainWindow>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace {

const QColor kPlainColour(128, 128, 0);

// The widget that carries the background: the central widget of a main
// window (so the picture starts below its menu bar), else the window itself.
QWidget* BackgroundCarrier(QWidget* window) {
    if (auto* main = qobject_cast<QMainWindow*>(window); main && main->centralWidget())
        return main->centralWidget();
    return window;
}

} // namespace

bool WindowLookUsesPicture(const QString& picture, bool force, int background, int colorMode) {
    return force || (!picture.isEmpty() && background != 1 && colorMode != 1);
}

void ApplyWindowLook(QWidget* window, const QString& picture, bool force) {
    if (!window) return;
    QWidget* carrier = BackgroundCarrier(window);
    QPalette pal = carrier->palette();
    const bool usePicture =
        WindowLookUsesPicture(picture, force, gPlayerRecord.Background, gPlayerRecord.ColorMode);
    if (usePicture) {
        const QString path = DataFile(picture);
        // A fixed-size window never shows the picture beyond its own size.
        const bool fixed = carrier->minimumSize() == carrier->maximumSize();
        QImage image = ReadBitmap(path, fixed ? carrier->maximumSize() : QSize());
        if (image.isNull())
            FatalError(
                QStringLiteral("画像ファイル「%1」を読み込めません。\n%2").arg(picture, path));
        QPixmap canvas;
        if (QRect(QPoint(), image.size()).contains(carrier->rect())) {
            canvas = QPixmap::fromImage(std::move(image)); // no copy
        } else {
            // The picture sits at the top-left corner, unscaled; the plain
            // colour fills whatever lies beyond it.
            canvas = QPixmap(carrier->size().expandedTo(image.size()));
            canvas.fill(kPlainColour);
            QPainter painter(&canvas);
            painter.drawImage(0, 0, image);
        }
        pal.setBrush(QPalette::Window, QBrush(canvas));
    } else {
        pal.setBrush(QPalette::Window, kPlainColour);
    }
    carrier->setPalette(pal);
    carrier->setAutoFillBackground(true);
    carrier->setProperty("velmoraBackground", usePicture ? picture : QString());

    if (!window->isWindow()) return;
    if (gPlayerRecord.FormArrange == 1) {
        window->move(0, 0);
        return;
    }
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    const QSize own = window->frameGeometry().size();
    window->move(area.x() + (area.width() - own.width()) / 2,
                 area.y() + (area.height() - own.height()) / 2);
}

void NameControl(QWidget* w, const QString& objectName, const QString& accessibleName) {
    if (!w) return;
    w->setObjectName(objectName);
    w->setAccessibleName(accessibleName);
}

void ShowFileNotices(QWidget* owner) {
    for (const QString& notice : TakeFileNotices())
        CurrentPlatform().messageBox(notice, owner);
}

void NeedCommentLists(QWidget* owner) {
    QString error;
    if (!EnsureCommentLists(&error)) FatalError(error);
    ShowFileNotices(owner);
}
