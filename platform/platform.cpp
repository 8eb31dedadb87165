#include "platform/platform.h"

#include "library/files.h"
#include "library/player.h"
#include "platform/instance.h"
#include "platform/sound.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>
#include <cstdio>
#include <cstdlib>

namespace {

const QString kTitle = QStringLiteral("Velmora２");

Platform& RealPlatform() {
    static Platform real;
    return real;
}

Platform* gInstalled = nullptr;
MessagePresenter gPresenter = nullptr;

} // namespace

void Platform::beep() {
    QApplication::beep();
}

void Platform::playSound(const QString& path, bool toEnd) {
    PlayWithBackend(path, toEnd);
}

void Platform::showMessage(const QString& text) {
    if (gPresenter) {
        gPresenter(text);
        return;
    }
    messageBox(text);
}

void SetMessagePresenter(MessagePresenter present) {
    gPresenter = present;
}

void Platform::messageBox(const QString& text, QWidget* parent) {
    QMessageBox box(QMessageBox::Information, kTitle, text, QMessageBox::Ok, parent);
    box.setAccessibleName(text);
    box.exec();
}

bool Platform::askYesNo(const QString& text, QWidget* parent) {
    QMessageBox box(QMessageBox::Question, kTitle, text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    // No is the default: every question we ask guards a change that cannot
    // be undone, so Return alone must not make it.
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    box.setAccessibleName(text);
    return box.exec() == QMessageBox::Yes;
}

void Platform::openUrl(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}

void Platform::quitProgram() {
    // exit(), not quit(): quit() would first ask every window to close.
    QCoreApplication::exit(0);
}

void Platform::abortProgram(int code) {
    ReleaseInstanceLock();
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(code);
}

Platform& CurrentPlatform() {
    return gInstalled ? *gInstalled : RealPlatform();
}

void SetPlatform(Platform* platform) {
    gInstalled = platform;
}

void Beep() {
    CurrentPlatform().beep();
}

void PlaySoundFile(const QString& name, int flag) {
    if (gPlayerRecord.SoundEffect != 0 || name.isEmpty()) return;
    const QString path = DataFile(name);
    if (!QFileInfo(path).isFile()) return; // a missing sound is simply not heard
    CurrentPlatform().playSound(path, flag == 0);
}

void FatalError(const QString& text) {
    std::fprintf(stderr, "Velmora: %s\n", text.toLocal8Bit().constData());
    CurrentPlatform().messageBox(text);
    CurrentPlatform().abortProgram(1);
    // A platform that returned from abortProgram still ends the run.
    ReleaseInstanceLock();
    std::_Exit(1);
}

BusyCursor::BusyCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor() {
    QApplication::restoreOverrideCursor();
}
