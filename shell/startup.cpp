#include "shell/startup.h"

#include "library/files.h"
#include "library/player.h"
#include "library/writefolder.h"
#include "platform/bitmap.h"
#include "platform/instance.h"
#include "platform/platform.h"
#include "shell/appinit.h"
#include "shell/router.h"
#include "shell/windowlook.h"

#include <QApplication>
#include <QTimer>

namespace {

constexpr int kDefaultW = 480;
constexpr int kDefaultH = 320;
constexpr int kMaxW = 800;
constexpr int kMaxH = 600;

} // namespace

frmStartup::frmStartup(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmStartup"));
    setWindowTitle(QStringLiteral("スタートアップ"));
    setAccessibleName(windowTitle());
    // The splash is as large as its picture (within reason).
    QSize size(kDefaultW, kDefaultH);
    const QSize picture = BitmapSize(DataFile(QStringLiteral("sakura.bmp")));
    if (picture.isValid()) size = picture.boundedTo(QSize(kMaxW, kMaxH));
    setFixedSize(size);
}

bool StartUp(const QString& programFolder) {
    // Data is read from the program folder; the lock sits with what the
    // program writes (the per-user folder when the program folder is
    // read-only).
    if (!AcquireInstanceLock(WriteFolderFor(programFolder))) {
        CurrentPlatform().messageBox(QString::fromUtf8(kSecondInstanceText));
        return false;
    }
    gDataPath = MakeDataPath(programFolder);
    // Only one copy runs now: temporary files of writes that a killed copy
    // left half done are ours to remove.
    RemoveStaleTempFiles(gDataPath);

    auto* splash = new frmStartup;
    {
        BusyCursor busy;
        ReadRoster();
        if (gPlayerCount > 0) {
            QString error;
            if (!LoadPlayerFile(gCurPlayer, &error)) FatalError(error);
        } else {
            DefaultSettings();
        }
        ApplyWindowLook(splash, QStringLiteral("sakura.bmp"), true);
        splash->show();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (!OpenWindow(Role::Menu)) FatalError(QStringLiteral("メニュー画面を開けません。"));
    }
    splash->close();
    delete splash;
    // The icon once the menu is on screen (the first turn of the event loop).
    QTimer::singleShot(0, qApp, [programFolder] { LoadApplicationIcon(programFolder); });
    return true;
}
