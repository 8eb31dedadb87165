// The player registration window: choose the current player, register,
// rename and delete players with an on-screen keyboard. The roster file is
// written only by "終了".
#pragma once

#include "registration.h"

#include <QWidget>
#include <array>

class QLabel;
class QPushButton;
class ClickLabel;

class frmPlayerRegist : public QWidget {
    Q_OBJECT
public:
    explicit frmPlayerRegist(QWidget* parent = nullptr);

    QLabel* lblDoing = nullptr;
    std::array<QLabel*, kMaxPlayers> lblRanking{};
    std::array<ClickLabel*, kMaxPlayers> lblName{};
    std::array<QPushButton*, kKeyCount> cmdCharacter{};
    QPushButton* cmdChange = nullptr;
    QPushButton* cmdRegist = nullptr;
    QPushButton* cmdRename = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdExit = nullptr;

    void lblNameClick(int i);
    void cmdChangeClick();
    void cmdRegistClick();
    void cmdRenameClick();
    void cmdCharacterClick(int i);
    void cmdDeleteClick();
    void cmdCancelClick();
    void cmdExitClick();

    const RegistState& state() const { return st_; }

    // Typed text, from the keyboard or an input method's commit.
    void typeText(const QString& text);
    // The input method is on while a name is typed.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    void Refresh();
    // Writes `roster` to the roster file; over a damaged file only when the
    // user agrees. Failures and a file kept aside are told.
    void saveRoster(const Roster& roster);
    bool typing() const;

    RegistState st_;
    // The roster as the player files now stand: the file's roster with the
    // registrations and deletions made here, for leaving by the close box.
    Roster onDisk_;
    bool filesChanged_ = false;
    bool closingByCode_ = false;
};
