#include "platform/recordingplatform.h"

RecordingPlatform::RecordingPlatform() {
    clock_.start();
}

void RecordingPlatform::beep() {
    ++beeps;
}

void RecordingPlatform::playSound(const QString& path, bool toEnd) {
    sounds.push_back({path, toEnd, clock_.elapsed()});
}

void RecordingPlatform::showMessage(const QString& text) {
    messages.append(text);
}

void RecordingPlatform::messageBox(const QString& text, QWidget*) {
    boxes.append(text);
}

bool RecordingPlatform::askYesNo(const QString& text, QWidget*) {
    questions.append(text);
    if (answers.empty()) return true;
    const bool a = answers.front();
    answers.pop_front();
    return a;
}

void RecordingPlatform::openUrl(const QString& url) {
    urls.append(url);
}

void RecordingPlatform::quitProgram() {
    ++quits;
}

void RecordingPlatform::abortProgram(int code) {
    throw ProgramAborted(code);
}

void RecordingPlatform::clear() {
    beeps = 0;
    sounds.clear();
    messages.clear();
    boxes.clear();
    questions.clear();
    urls.clear();
    quits = 0;
}
