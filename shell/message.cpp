#include "shell/message.h"

#include "library/writefolder.h"
#include "platform/platform.h"
#include "shell/appinit.h"
#include "shell/clicklabel.h"
#include "shell/router.h"
#include "shell/windowlook.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#ifndef VELMORA_VERSION_MAJOR
#define VELMORA_VERSION_MAJOR 1
#define VELMORA_VERSION_MINOR 0
#define VELMORA_VERSION_PATCH 0
#endif

QString gMessageText;

namespace {

void RunMessageWindow(const QString& text) {
    gMessageText = text;
    frmMessage window(QApplication::activeWindow());
    window.exec();
}

} // namespace

void ShowMessage(const QString& text) {
    gMessageText = text;
    SetMessagePresenter(&RunMessageWindow);
    CurrentPlatform().showMessage(text);
}

namespace {

const QString kTitle = QStringLiteral("Velmora２");
const QString kKeyLeft = QStringLiteral("frmLeft");
const QString kKeyTop = QStringLiteral("frmTop");

QString SettingsKey(const QString& key) {
    return QLatin1String(kSettingsSection) + QLatin1Char('/') + key;
}

QSettings* OpenSettings(QObject* parent) {
    return new QSettings(QSettings::IniFormat, QSettings::UserScope, QLatin1String(kSettingsApp),
                         QLatin1String(kSettingsApp), parent);
}

// Rounds like the platform's integer conversion: ties to even.
int RoundToInt(double v) {
    return int(std::nearbyint(v));
}

} // namespace

QPoint MessageDefaultPosition(const QRect& menuFrame, const QSize& ownSize) {
    const double left = menuFrame.left() + menuFrame.width() * 3.0 / 4.0 - ownSize.width() / 2.0;
    const double top = menuFrame.top() + menuFrame.height() * 3.0 / 4.0 - ownSize.height() / 2.0;
    return {RoundToInt(left), RoundToInt(top)};
}

std::optional<int> ParseStoredCoordinate(const QVariant& value) {
    if (!value.isValid()) return std::nullopt;
    bool ok = false;
    const double v = value.toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v) || v < std::numeric_limits<int>::min() ||
        v > std::numeric_limits<int>::max())
        return std::nullopt;
    return RoundToInt(v);
}

QPoint MessageBesideBoard(const QRect& board, const QSize& ownSize, const QRect& screen) {
    constexpr int kGap = 12;
    int left = board.right() + 1 + kGap;
    if (left + ownSize.width() > screen.right() + 1) left = board.left() - kGap - ownSize.width();
    int top = board.top() + (board.height() - ownSize.height()) / 2;
    left = std::clamp(left, screen.left(),
                      std::max(screen.left(), screen.right() + 1 - ownSize.width()));
    top = std::clamp(top, screen.top(),
                     std::max(screen.top(), screen.bottom() + 1 - ownSize.height()));
    return {left, top};
}

bool PositionOnScreens(const QRect& frame, const QList<QRect>& screens) {
    const QPoint centre = frame.center();
    for (const QRect& s : screens)
        if (s.contains(centre)) return true;
    return false;
}

frmMessage::frmMessage(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmMessage"));
    setWindowTitle(kTitle);
    setFixedSize(260, 64);

    lblMessage = new ClickLabel(QStringLiteral("次の手の候補です"), this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setGeometry(8, 8, 244, 48);
    lblMessage->setAlignment(Qt::AlignCenter);
    lblMessage->setFont(EnlargedFont(lblMessage->font(), 4));
    connect(lblMessage, &ClickLabel::clicked, this, [this] { done(QDialog::Accepted); });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(2000);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &frmMessage::Timer1_Timer);

    // Load: place the window, then show the caller's text.
    QPoint pos = defaultPosition();
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, QLatin1String(kSettingsApp),
                           QLatin1String(kSettingsApp));
        const auto left = ParseStoredCoordinate(settings.value(SettingsKey(kKeyLeft)));
        const auto top = ParseStoredCoordinate(settings.value(SettingsKey(kKeyTop)));
        if (left && top) {
            QList<QRect> screens;
            for (QScreen* s : QGuiApplication::screens())
                screens.append(s->geometry());
            // A place on a screen that is gone falls back to the default.
            if (PositionOnScreens(QRect(QPoint(*left, *top), size()), screens))
                pos = QPoint(*left, *top);
        }
    }
    move(pos);
    lblMessage->setText(gMessageText);
    lblMessage->setAccessibleName(gMessageText);
    setAccessibleName(gMessageText);
    Timer1->start();
}

QPoint frmMessage::defaultPosition() const {
    // Beside the board of the window that asked, so the board stays in view.
    if (QWidget* owner = parentWidget()) {
        if (auto* board = owner->window()->findChild<QWidget*>(QStringLiteral("picBoard"))) {
            const QRect frame(board->mapToGlobal(QPoint(0, 0)), board->size());
            QScreen* screen = QGuiApplication::screenAt(frame.center());
            if (!screen) screen = QGuiApplication::primaryScreen();
            if (screen) return MessageBesideBoard(frame, size(), screen->availableGeometry());
        }
    }
    if (QWidget* menu = MenuWindow()) return MessageDefaultPosition(menu->frameGeometry(), size());
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        return {area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2};
    }
    return {0, 0};
}

void frmMessage::Timer1_Timer() {
    done(QDialog::Accepted);
}

void frmMessage::done(int result) {
    Timer1->stop();
    if (!isMinimized()) {
        std::unique_ptr<QSettings> settings(OpenSettings(nullptr));
        settings->setValue(SettingsKey(kKeyLeft), QString::number(float(x())));
        settings->setValue(SettingsKey(kKeyTop), QString::number(float(y())));
        settings->sync();
    }
    QDialog::done(result);
}

QString FormatVersion(int major, int minor, int revision) {
    return QStringLiteral("%1.%2.%3")
        .arg(major)
        .arg(minor, 2, 10, QLatin1Char('0'))
        .arg(revision, 2, 10, QLatin1Char('0'));
}

namespace {

QPixmap AboutIcon() {
    const QIcon appIcon = QApplication::windowIcon();
    if (!appIcon.isNull()) return appIcon.pixmap(48, 48);
    // Two stones on a board corner.
    QPixmap pm(48, 48);
    pm.fill(QColor(222, 184, 120));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    for (int i = 8; i < 48; i += 16) {
        p.drawLine(i, 8, i, 47);
        p.drawLine(8, i, 47, i);
    }
    p.setBrush(QColor(20, 20, 20));
    p.drawEllipse(QPointF(24, 24), 7, 7);
    p.setBrush(QColor(245, 245, 240));
    p.drawEllipse(QPointF(40, 8), 7, 7);
    return pm;
}

} // namespace

frmAboutThis::frmAboutThis(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAboutThis"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setFixedSize(380, 170);

    picIcon = new QLabel(this);
    NameControl(picIcon, QStringLiteral("picIcon"), QStringLiteral("アイコン"));
    picIcon->setGeometry(16, 16, 48, 48);
    picIcon->setPixmap(AboutIcon());

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(80, 14, 280, 24);
    QFont title = EnlargedFont(Label2->font(), 6);
    title.setBold(true);
    Label2->setFont(title);

    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setGeometry(80, 42, 280, 20);

    Label3 = new QLabel(QStringLiteral("Copyright © 2026 Velmora プロジェクト"), this);
    NameControl(Label3, QStringLiteral("Label3"), Label3->text());
    Label3->setGeometry(80, 66, 280, 20);

    // Where the player's records are kept; a click opens that folder.
    const QString folder = QDir::toNativeSeparators(WriteFolder());
    Label5 = new ClickLabel(QStringLiteral("記録の保存先: ") + folder, this);
    NameControl(Label5, QStringLiteral("Label5"), Label5->text());
    Label5->setGeometry(80, 90, 280, 20);
    Label5->setToolTip(folder);
    Label5->setStyleSheet(QStringLiteral("color: #0000c0; text-decoration: underline;"));
    Label5->setCursor(Qt::PointingHandCursor);
    Label5->setFocusPolicy(Qt::TabFocus);
    connect(Label5, &ClickLabel::clicked, this,
            [] { CurrentPlatform().openUrl(QUrl::fromLocalFile(WriteFolder()).toString()); });

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    NameControl(cmdOK, QStringLiteral("cmdOK"), QStringLiteral("OK"));
    cmdOK->setGeometry(280, 126, 84, 28);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QWidget::close);

    // Load: centre on the screen, then the title and the version.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    Label2->setText(kTitle);
    Label2->setAccessibleName(kTitle);
    Label4->setText(QStringLiteral("バージョン　　") + FormatVersion(VELMORA_VERSION_MAJOR,
                                                                     VELMORA_VERSION_MINOR,
                                                                     VELMORA_VERSION_PATCH));
    Label4->setAccessibleName(Label4->text());
}
