// What a screen reader finds in every window: the window itself with the
// frame (or dialog) role and its title, and no control it could use that has
// no name. Built from a copy of the real program folder.
#include "board/boardview.h"
#include "library/courses.h"
#include "library/files.h"
#include "library/player.h"
#include "library/session.h"
#include "modes/learn/frmlearn.h"
#include "modes/trial/frmTrial.h"
#include "modes/view/frmview.h"
#include "platform/recordingplatform.h"
#include "records/registration/frmPlayerRegist.h"
#include "records/settings/frmSetmode.h"
#include "rules/outcome.h"
#include "selection/course/frmSelQuestion.h"
#include "selection/picker/frmselqrep.h"
#include "shell/accessibility.h"
#include "shell/clicklabel.h"
#include "shell/help.h"
#include "shell/menu.h"
#include "shell/message.h"
#include "shell/router.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

Q_DECLARE_METATYPE(std::function<QWidget*()>)

namespace {

bool Interactive(QAccessible::Role role) {
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::EditableText:
    case QAccessible::ListItem:
    case QAccessible::Link:
    case QAccessible::MenuItem:
    case QAccessible::PageTab:
        return true;
    default:
        return false;
    }
}

struct Found {
    QStringList problems;
    QMap<QString, QAccessible::Role> roles; // by object name
    QMap<QString, QString> names;
    QMap<QString, bool> invisible;
};

void Walk(QAccessibleInterface* iface, const QString& path, Found& f) {
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface* c = iface->child(i);
        if (!c) continue;
        const QString objectName = c->object() ? c->object()->objectName() : QString();
        const QString here = path + QLatin1Char('/') +
                             (objectName.isEmpty() ? QString::number(int(c->role())) : objectName);
        if (!objectName.isEmpty()) {
            f.roles[objectName] = c->role();
            f.names[objectName] = c->text(QAccessible::Name);
            f.invisible[objectName] = c->state().invisible;
        }
        if (c->state().invisible) continue;
        const bool unnamed = c->text(QAccessible::Name).trimmed().isEmpty();
        if (unnamed && (Interactive(c->role()) || c->state().focusable))
            f.problems << here + QStringLiteral(" (role %1) has no name").arg(int(c->role()));
        Walk(c, here, f);
    }
}

Found Inspect(QWidget* w) {
    Found f;
    QAccessibleInterface* top = QAccessible::queryAccessibleInterface(w);
    if (!top) {
        f.problems << QStringLiteral("no accessible interface");
        return f;
    }
    if (top->role() != QAccessible::Window && top->role() != QAccessible::Dialog)
        f.problems << QStringLiteral("window role %1, not a frame or dialog").arg(int(top->role()));
    if (top->text(QAccessible::Name) != w->windowTitle() || w->windowTitle().isEmpty())
        f.problems << QStringLiteral("window name \"%1\" for title \"%2\"")
                          .arg(top->text(QAccessible::Name), w->windowTitle());
    Walk(top, w->objectName(), f);
    return f;
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        const QDir dist(QStringLiteral(VELMORA_DIST_DIR));
        if (!dist.exists(QStringLiteral("abc.dr")) || !dist.exists(QStringLiteral("keiryu.bmp")))
            QSKIP("the program folder has no data yet");
        QVERIFY(dir_.isValid());
        for (const QFileInfo& fi : dist.entryInfoList(QDir::Files))
            if (!fi.fileName().startsWith(QLatin1String("vm2.ps")) ||
                fi.fileName() == QLatin1String("vm2.psn"))
                QFile::copy(fi.filePath(), dir_.filePath(fi.fileName()));
        QFile::remove(dir_.filePath(QStringLiteral("vm2.ply")));
        gDataPath = MakeDataPath(dir_.path());
        InstallAccessibility();
        QString error;
        QVERIFY2(InitCourses(&error), qPrintable(error));
        InitOutcomeTable();
        QVERIFY(ReadCommentLists());
        gPlayerCount = 1;
        gPlayerName[0] = QStringLiteral("山田");
        gCurPlayer = 0;
        QVERIFY(CreatePlayerFile(0));
        QVERIFY(WriteRoster());
        QVERIFY(LoadPlayerFile(0));
        gPlayerRecord.Stat[0].Asked = 1;
        gPlayerRecord.Stat[0].Correct = 1;
        QVERIFY(SavePlayerFile(0));
        SetPlatform(&platform_);
        SetMenuRefresh([] {});
        for (Role r : {Role::Menu, Role::CourseSelect, Role::Trial, Role::HiScore, Role::Review,
                       Role::Picker, Role::Learn, Role::View, Role::Registration, Role::Settings})
            RegisterWindow(r, [] { return new QWidget; });
    }

    void everyWindow_data() {
        QTest::addColumn<std::function<QWidget*()>>("make");
        const auto add = [](const char* name, std::function<QWidget*()> make) {
            QTest::newRow(name) << make;
        };
        add("menu", [] { return new frmMenu; });
        add("registration", [] { return new frmPlayerRegist; });
        add("settings", [] { return new frmSetmode; });
        add("course selection", [] {
            gMode = 1;
            return new frmSelQuestion;
        });
        add("picker", [] {
            gMode = 2;
            gCourse = 0;
            return new frmSelQRep;
        });
        add("learn", [] {
            gMode = 2;
            gCourse = 0;
            gProbNo = 0;
            return new frmLearn;
        });
        add("view", [] {
            gMode = 3;
            gCourse = 0;
            gProbNo = 0;
            return new frmView;
        });
        add("trial", [] {
            gMode = 1;
            gCourse = 0;
            return new frmTrial(7);
        });
        add("version", [] { return new frmAboutThis; });
        add("help", [] { return new frmHelp; });
    }
    void everyWindow() {
        QFETCH(std::function<QWidget*()>, make);
        QPointer<QWidget> w = make();
        QVERIFY(w);
        w->show();
        QCoreApplication::processEvents();
        const Found f = Inspect(w);
        QVERIFY2(f.problems.isEmpty(), qPrintable(f.problems.join(QLatin1Char('\n'))));
        delete w;
    }

    void pickerThumbnailsAreNamedButtons() {
        gMode = 2;
        gCourse = 0;
        QPointer<frmSelQRep> w = new frmSelQRep;
        w->show();
        QCoreApplication::processEvents();
        const Found f = Inspect(w);
        QCOMPARE(f.roles.value(QStringLiteral("picBoard_0")), QAccessible::PushButton);
        // Problem 1 was solved in the player's record above.
        QVERIFY2(f.names.value(QStringLiteral("picBoard_0")).startsWith(QStringLiteral("問題 1、")),
                 qPrintable(f.names.value(QStringLiteral("picBoard_0"))));
        QVERIFY(f.names.value(QStringLiteral("picBoard_0")).endsWith(QStringLiteral("、解いた")));
        // The focus frame is drawing, not four unnamed things to visit.
        for (int i = 0; i < 4; ++i)
            QVERIFY(f.invisible.value(QStringLiteral("linFocus_%1").arg(i), true));
        delete w;
    }

    void registrationRowsAreListItems() {
        QPointer<frmPlayerRegist> w = new frmPlayerRegist;
        w->show();
        QCoreApplication::processEvents();
        const Found f = Inspect(w);
        QCOMPARE(f.roles.value(QStringLiteral("lblName_0")), QAccessible::ListItem);
        QCOMPARE(f.names.value(QStringLiteral("lblName_0")), QStringLiteral("1番 山田"));
        QCOMPARE(f.names.value(QStringLiteral("lblName_1")), QStringLiteral("2番 新規登録"));
        // Pressing the row through the reader chooses the player.
        QAccessibleInterface* row = QAccessible::queryAccessibleInterface(w->lblName[1]);
        QVERIFY(row && row->actionInterface());
        row->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(w->state().state, int16_t(RegistState::Typing));
        delete w;
    }

    void ratioIsOneLabelPerCourse() {
        gMode = 1;
        QPointer<frmSelQuestion> w = new frmSelQuestion;
        w->show();
        QCoreApplication::processEvents();
        const Found f = Inspect(w);
        for (int i = 0; i < 6; ++i) {
            // The five boxes as shown, read as one number.
            QString shown;
            for (int k = 0; k < 5; ++k)
                shown += w->lblRatio[size_t(5 * i + k)]->text();
            shown = shown.trimmed();
            const QString said =
                shown.startsWith(QLatin1Char('-')) ? QStringLiteral("なし") : shown;
            QCOMPARE(f.names.value(QStringLiteral("lblRatio_%1").arg(5 * i)),
                     QStringLiteral("正解率 ") + said);
            for (int k = 1; k < 5; ++k)
                QVERIFY(f.invisible.value(QStringLiteral("lblRatio_%1").arg(5 * i + k)));
        }
        delete w;
    }

private:
    QTemporaryDir dir_;
    RecordingPlatform platform_;
};

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
