// The message window (frmMessage) and the version window (frmAboutThis).
#pragma once

#include <QDialog>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QVariant>
#include <optional>

extern QString gMessageText;
// Sets gMessageText and shows the message window modally.
void ShowMessage(const QString& text);

class ClickLabel;
class QLabel;
class QPushButton;
class QTimer;

// Where the message window's position is remembered.
inline constexpr const char* kSettingsApp = "VELMORA2";
inline constexpr const char* kSettingsSection = "VM_VIEW";

// The default place of the message window: centred on the point three
// quarters across and down the menu window.
QPoint MessageDefaultPosition(const QRect& menuFrame, const QSize& ownSize);
// Beside the board of the window that asked (the board's frame in screen
// coordinates): to its right, centred on its height; to its left when the
// right side has no room on `screen`; always kept on `screen`.
QPoint MessageBesideBoard(const QRect& board, const QSize& ownSize, const QRect& screen);
// A remembered coordinate as text; nullopt when missing or not a number.
std::optional<int> ParseStoredCoordinate(const QVariant& value);
// Whether a window placed at `frame` can be seen: its centre lies on a screen.
bool PositionOnScreens(const QRect& frame, const QList<QRect>& screens);

// A small tool window over the window that asked (its parent): no minimise
// or maximise buttons, first placed beside that window's board "picBoard".
class frmMessage : public QDialog {
    Q_OBJECT
public:
    explicit frmMessage(QWidget* parent = nullptr);

    ClickLabel* lblMessage = nullptr;
    QTimer* Timer1 = nullptr;

public slots:
    // The first tick (2000 ms after loading) closes the window.
    void Timer1_Timer();

public:
    void done(int result) override;

private:
    QPoint defaultPosition() const;
};

// "1.00.08" for 1, 0, 8.
QString FormatVersion(int major, int minor, int revision);

class frmAboutThis : public QDialog {
    Q_OBJECT
public:
    explicit frmAboutThis(QWidget* parent = nullptr);

    QLabel* picIcon = nullptr;
    QPushButton* cmdOK = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    ClickLabel* Label5 = nullptr;
};
