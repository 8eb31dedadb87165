// Velmora: sets up the application, registers every window by its role and
// runs the start-up sequence from the program's own folder.
#include "modes/learn/frmlearn.h"
#include "modes/review/frmhukusyu.h"
#include "modes/trial/frmTrial.h"
#include "modes/view/frmview.h"
#include "platform/instance.h"
#include "platform/locale.h"
#include "records/hiscore/frmHiscore.h"
#include "records/progress/frmProgress.h"
#include "records/registration/frmPlayerRegist.h"
#include "records/settings/frmSetmode.h"
#include "selection/course/frmSelQuestion.h"
#include "selection/picker/frmselqrep.h"
#include "shell/appinit.h"
#include "shell/help.h"
#include "shell/menu.h"
#include "shell/message.h"
#include "shell/router.h"
#include "shell/startup.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    EnsureUtf8Locale();
    QApplication app(argc, argv);
    // Names the per-user data folder (~/.local/share/velmora) for an
    // installed copy, whatever the executable is called.
    QCoreApplication::setApplicationName(QStringLiteral("velmora"));
    const QString programFolder = QCoreApplication::applicationDirPath();
    InitApplication(app, programFolder);

    RegisterWindow(Role::Menu, [] { return new frmMenu; });
    RegisterWindow(Role::About, [] { return new frmAboutThis; });
    RegisterWindow(Role::Help, [] { return new frmHelp; });
    RegisterWindow(Role::CourseSelect, [] { return new frmSelQuestion; });
    RegisterWindow(Role::Trial, [] { return new frmTrial; });
    RegisterWindow(Role::HiScore, [] { return new frmHiscore; });
    RegisterWindow(Role::Learn, [] { return new frmLearn; });
    RegisterWindow(Role::Picker, [] { return new frmSelQRep; });
    RegisterWindow(Role::View, [] { return new frmView; });
    RegisterWindow(Role::Review, [] { return new frmHukusyu; });
    RegisterWindow(Role::Registration, [] { return new frmPlayerRegist; });
    RegisterWindow(Role::Settings, [] { return new frmSetmode; });
    RegisterWindow(Role::Progress, [] { return new frmProgress; });

    if (!StartUp(programFolder)) return 0;
    const int code = app.exec();
    ReleaseInstanceLock();
    return code;
}
