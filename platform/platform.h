// The small platform layer every window goes through: beep, sound, message
// boxes, the self-closing message window, the hourglass pointer, twips.
// Tests install a recording double with SetPlatform.
#pragma once

#include <QString>

class QWidget;

class Platform {
public:
    virtual ~Platform() = default;
    virtual void beep();
    // Plays a WAV file; toEnd: returns only after it has finished (with a
    // watchdog), otherwise in the background.
    virtual void playSound(const QString& path, bool toEnd);
    // The self-closing modal message window with `text`; the shell installs
    // the window with SetMessagePresenter (a plain box until it has).
    virtual void showMessage(const QString& text);
    // A modal box with an OK button, the program's title as its caption.
    virtual void messageBox(const QString& text, QWidget* parent = nullptr);
    // A modal Yes/No box; true for Yes. No is the default button (Return)
    // and Escape answers No.
    virtual bool askYesNo(const QString& text, QWidget* parent = nullptr);
    // Opens a web address with the desktop's default handler; failures are
    // ignored.
    virtual void openUrl(const QString& url);
    // Ends the run at once (the menu's quit entry): every window closes.
    virtual void quitProgram();
    // Ends the process after a fatal error. A test double may throw instead
    // of returning; if it returns, the process still ends.
    virtual void abortProgram(int code);
};

Platform& CurrentPlatform();
// Installs a platform (tests); nullptr restores the real one. Not owned.
void SetPlatform(Platform* platform);

void Beep();
// Plays gDataPath + name unless the player switched sound effects off
// (SoundEffect != 0) or the file is missing. flag 1: background; 0: to its end.
void PlaySoundFile(const QString& name, int flag);
// How the real platform shows the self-closing message window.
using MessagePresenter = void (*)(const QString& text);
void SetMessagePresenter(MessagePresenter present);
// A fatal installation or data error: message box, then the program ends.
[[noreturn]] void FatalError(const QString& text);

// Hourglass pointer for the lifetime of the guard.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

inline constexpr int TwipsToPixels(int twips) {
    return twips / 15;
}
