// A Platform for tests: records beeps, sounds, messages and boxes instead of
// showing or playing anything, and answers Yes/No boxes from a queue.
// Install it with SetPlatform(&double); nothing blocks.
#pragma once

#include "platform/platform.h"

#include <QElapsedTimer>
#include <QStringList>
#include <deque>
#include <stdexcept>
#include <vector>

struct RecordedSound {
    QString path;
    bool toEnd = false;
    qint64 atMs = 0; // since the double was created
};

// Thrown by abortProgram so a test can see that a fatal error ended the run.
struct ProgramAborted : std::runtime_error {
    int code;
    explicit ProgramAborted(int c) : std::runtime_error("program aborted"), code(c) {}
};

class RecordingPlatform : public Platform {
public:
    RecordingPlatform();

    void beep() override;
    void playSound(const QString& path, bool toEnd) override;
    void showMessage(const QString& text) override;
    void messageBox(const QString& text, QWidget* parent = nullptr) override;
    bool askYesNo(const QString& text, QWidget* parent = nullptr) override;
    void openUrl(const QString& url) override;
    void quitProgram() override;
    void abortProgram(int code) override;

    // Clears every record (the Yes/No answers stay queued).
    void clear();

    int beeps = 0;
    std::vector<RecordedSound> sounds;
    QStringList messages;  // the message window
    QStringList boxes;     // OK boxes
    QStringList questions; // Yes/No boxes
    QStringList urls;
    int quits = 0;
    // Answers for askYesNo, taken from the front; Yes when empty.
    std::deque<bool> answers;

private:
    QElapsedTimer clock_;
};

// Installs a RecordingPlatform for the lifetime of the guard.
class ScopedRecordingPlatform {
public:
    ScopedRecordingPlatform() { SetPlatform(&platform); }
    ~ScopedRecordingPlatform() { SetPlatform(nullptr); }
    ScopedRecordingPlatform(const ScopedRecordingPlatform&) = delete;
    ScopedRecordingPlatform& operator=(const ScopedRecordingPlatform&) = delete;
    RecordingPlatform platform;
    RecordingPlatform* operator->() { return &platform; }
};
