// Takes the pictures of the help window and of a name typed on the keyboard
// in the registration window, from a copy of a program folder:
// desktop_screens PROGRAM_FOLDER OUTPUT_FOLDER. Not a test: run it offscreen
// (QT_QPA_PLATFORM=offscreen) to refresh docs/screenshots/help.png and
// registration-typed.png.
#include "library/player.h"
#include "platform/recordingplatform.h"
#include "records/registration/frmPlayerRegist.h"
#include "shell/help.h"
#include "shell/router.h"
#include "tests/common/screenshots.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QTextBrowser>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    screenshots::Setup setup;
    if (!screenshots::Start(app, argc, argv, "desktop_screens", setup,
                            {"vm2.ply", "vm2.ps0", "vm2.ps1"}))
        return 1;
    RecordingPlatform platform;
    SetPlatform(&platform);
    SetMenuRefresh([] {});

    {
        frmHelp help;
        help.show();
        screenshots::Pump();
        if (!help.grab().save(setup.out + "/help.png"))
            return screenshots::Fail("cannot write help.png");
    }

    // One player already there; a second typed in kana and kanji.
    gPlayerCount = 1;
    gPlayerName[0] = QStringLiteral("SATO");
    gCurPlayer = 0;
    if (!CreatePlayerFile(0) || !WriteRoster()) return screenshots::Fail("no player template");
    frmPlayerRegist w;
    w.show();
    screenshots::Pump();
    w.lblNameClick(1);
    QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(&w, &a);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("山田花子"));
    QApplication::sendEvent(&w, &commit);
    screenshots::Pump();
    if (w.state().entered != QStringLiteral("a山田花子"))
        return screenshots::Fail("the typed name did not arrive");
    if (!w.grab().save(setup.out + "/registration-typed.png"))
        return screenshots::Fail("cannot write registration-typed.png");
    return 0;
}
