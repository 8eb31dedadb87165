#include "frmPlayerRegist.h"

#include "board/boardview.h"
#include "history/history.h"
#include "library/files.h"
#include "library/player.h"
#include "library/writefolder.h"
#include "platform/platform.h"
#include "shell/accessibility.h"
#include "shell/clicklabel.h"
#include "shell/controls.h"
#include "shell/router.h"
#include "shell/windowlook.h"

#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace {

constexpr int kWindowW = 10350;
constexpr int kWindowH = 6000;
constexpr int kRowTop = 780;
constexpr int kRowH = 420;
constexpr int kKeyLeft = 4050;
constexpr int kKeyTop = 780;
constexpr int kKeySize = 540;

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QRect& r) {
    auto* b = new QPushButton(caption, parent);
    NameControl(b, name, caption);
    b->setGeometry(r);
    return b;
}

} // namespace

frmPlayerRegist::frmPlayerRegist(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmPlayerRegist"));
    setWindowTitle(QStringLiteral("プレイヤー登録"));
    setFixedSize(TwipsToPixels(kWindowW), TwipsToPixels(kWindowH));
    // Names are typed straight into the window, kana and kanji through the
    // input method.
    setAttribute(Qt::WA_InputMethodEnabled);
    setFocusPolicy(Qt::StrongFocus);

    lblDoing = new QLabel(this);
    NameControl(lblDoing, QStringLiteral("lblDoing"), QString());
    lblDoing->setGeometry(Twips(240, 180, 9870, 420));
    lblDoing->setIndent(6);
    SetBackground(lblDoing, QColor(255, 255, 255));

    // Rows: element 0 in the layout, the others 500 twips apart.
    for (int i = 0; i < kMaxPlayers; ++i) {
        const int top = kRowTop + kRowPitchTwips * i;
        auto* number = new QLabel(this);
        NameControl(number, QStringLiteral("lblRanking_%1").arg(i), QString());
        number->setGeometry(Twips(240, top, 600, kRowH));
        number->setAlignment(Qt::AlignCenter);
        lblRanking[size_t(i)] = number;

        auto* name = new ClickLabel(this);
        NameControl(name, QStringLiteral("lblName_%1").arg(i), QString());
        name->setGeometry(Twips(900, top, 2700, kRowH));
        name->setIndent(6);
        name->setFocusPolicy(Qt::StrongFocus);
        name->setCursor(Qt::PointingHandCursor);
        SetAccessibleRole(name, QAccessible::ListItem);
        connect(name, &ClickLabel::clicked, this, [this, i] { lblNameClick(i); });
        lblName[size_t(i)] = name;
    }

    // The keyboard: A-Z in rows of ten, the digits on the fourth row.
    for (int i = 0; i < kKeyCount; ++i) {
        const QPoint off = KeyOffsetTwips(i);
        const QString c = KeyCharacter(i);
        auto* key = MakeButton(this, QStringLiteral("cmdCharacter_%1").arg(i), c,
                               Twips(kKeyLeft + off.x(), kKeyTop + off.y(), kKeySize, kKeySize));
        key->setFocusPolicy(Qt::TabFocus);
        connect(key, &QPushButton::clicked, this, [this, i] { cmdCharacterClick(i); });
        cmdCharacter[size_t(i)] = key;
    }

    cmdChange = MakeButton(this, QStringLiteral("cmdChange"), QStringLiteral("プレイヤー選択"),
                           Twips(4050, 3600, 1950, 540));
    cmdRename = MakeButton(this, QStringLiteral("cmdRename"), QStringLiteral("改名"),
                           Twips(6150, 3600, 1950, 540));
    cmdDelete = MakeButton(this, QStringLiteral("cmdDelete"), QStringLiteral("削除"),
                           Twips(8250, 3600, 1800, 540));
    cmdRegist = MakeButton(this, QStringLiteral("cmdRegist"), QStringLiteral("プレイヤー登録"),
                           Twips(4050, 4350, 1950, 540));
    cmdCancel = MakeButton(this, QStringLiteral("cmdCancel"), QStringLiteral("キャンセル"),
                           Twips(6150, 4350, 1950, 540));
    cmdExit = MakeButton(this, QStringLiteral("cmdExit"), QStringLiteral("終了"),
                         Twips(8250, 4350, 1800, 540));
    connect(cmdChange, &QPushButton::clicked, this, [this] { cmdChangeClick(); });
    connect(cmdRename, &QPushButton::clicked, this, [this] { cmdRenameClick(); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] { cmdDeleteClick(); });
    connect(cmdRegist, &QPushButton::clicked, this, [this] { cmdRegistClick(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancelClick(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExitClick(); });

    // Loading the window. With nobody registered there is no player file
    // to read; the menu has already set the default settings.
    if (gPlayerCount > 0) {
        QString error;
        if (!LoadPlayerFile(gCurPlayer, &error)) FatalError(error);
    }
    ApplyWindowLook(this, QStringLiteral("yuuyake.bmp"), false);
    ReadRoster();
    onDisk_ = CurrentRoster();
    st_ = RegistState{};
    st_.saved = gCurPlayer;
    Refresh();
}

void frmPlayerRegist::Refresh() {
    const RegistView v = ViewFor(CurrentRoster(), st_);
    SetCaption(lblDoing, v.doing);
    const QColor normal = QColor::fromRgb(kColorNormal);
    const QColor highlight = QColor::fromRgb(kColorHighlight);
    for (int i = 0; i < kMaxPlayers; ++i) {
        const RowView& r = v.rows[size_t(i)];
        QLabel* number = lblRanking[size_t(i)];
        QLabel* name = lblName[size_t(i)];
        SetCaption(number, r.number);
        SetCaption(name, r.name);
        // Read as one row: "2番 AB".
        name->setAccessibleName(r.number.isEmpty() ? r.name
                                                   : r.number + QStringLiteral("番 ") + r.name);
        SetBackground(number, r.highlighted ? highlight : normal);
        SetBackground(name, r.highlighted ? highlight : normal);
        number->setVisible(r.visible);
        name->setVisible(r.visible);
    }
    for (QPushButton* key : cmdCharacter)
        key->setVisible(v.keysVisible);
    cmdChange->setEnabled(v.change);
    cmdRegist->setEnabled(v.regist);
    cmdRename->setEnabled(v.rename);
    cmdDelete->setEnabled(v.del);
    cmdCancel->setEnabled(v.cancel);
    cmdExit->setEnabled(v.exit);
    // The input method follows the state: on while a name is typed.
    if (hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImEnabled);
}

void frmPlayerRegist::lblNameClick(int i) {
    Roster r = CurrentRoster();
    if (!ClickRow(r, st_, i)) return;
    StoreRoster(r);
    Refresh();
    if (typing()) setFocus();
}

bool frmPlayerRegist::typing() const {
    return st_.state == RegistState::Typing || st_.state == RegistState::Renaming;
}

void frmPlayerRegist::typeText(const QString& text) {
    if (!typing()) return;
    if (!TypeText(st_, text)) {
        Beep();
        return;
    }
    Refresh();
}

void frmPlayerRegist::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Escape) {
        // The window's own way out: cancel what is under way, else 終了.
        if (cmdCancel->isEnabled())
            cmdCancel->click();
        else if (cmdExit->isEnabled())
            cmdExit->click();
        return;
    }
    if (!typing()) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (key == Qt::Key_Backspace) {
        cmdDeleteClick();
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (cmdRegist->isEnabled())
            cmdRegist->click();
        else
            Beep();
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
        text.at(0).isPrint()) {
        typeText(text);
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmPlayerRegist::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty()) typeText(event->commitString());
    event->accept();
}

QVariant frmPlayerRegist::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
    case Qt::ImEnabled:
        return typing();
    case Qt::ImCursorRectangle:
        // The candidate window opens under the name being typed.
        return lblName[1] ? QVariant(lblName[1]->geometry()) : QVariant(QRect());
    case Qt::ImSurroundingText:
        return st_.entered;
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition:
        return int(st_.entered.size());
    default:
        return QWidget::inputMethodQuery(query);
    }
}

void frmPlayerRegist::cmdChangeClick() {
    ConfirmChoice(st_);
    Refresh();
}

void frmPlayerRegist::cmdRenameClick() {
    StartRename(CurrentRoster(), st_);
    Refresh();
    if (typing()) setFocus();
}

void frmPlayerRegist::cmdCharacterClick(int i) {
    if (!TypeKey(st_, KeyCharacter(i))) {
        Beep();
        return;
    }
    Refresh();
}

void frmPlayerRegist::cmdDeleteClick() {
    if (st_.state == RegistState::Chosen) {
        Roster r = CurrentRoster();
        if (!CurrentPlatform().askYesNo(DeleteQuestion(r), this)) return;
        RemoveFromRoster(onDisk_, r.current);
        QString historyError;
        if (!DeletePlayerHistory(r.current, &historyError))
            CurrentPlatform().messageBox(
                QStringLiteral("成績の記録からこのプレイヤーを消せませんでした。\n") + historyError,
                this);
        filesChanged_ = true;
        const int oldCount = r.count;
        bool copied = true;
        DeleteChosen(r, st_, [&copied](int from, int to) {
            const bool ok = CopyPlayerFile(from, to);
            copied = copied && ok;
            return ok;
        });
        // The highest file is now a copy of the one below it (or the deleted
        // player's own): remove it, so a player registered there later finds
        // no file to keep aside.
        if (copied && r.count == oldCount - 1)
            QFile::remove(WriteFolderFile(PlayerFileName(oldCount - 1)));
        StoreRoster(r);
        Refresh();
        return;
    }
    if (!EraseKey(st_)) {
        Beep();
        return;
    }
    Refresh();
}

void frmPlayerRegist::cmdRegistClick() {
    Roster r = CurrentRoster();
    const int oldCount = r.count;
    QString error;
    QString keptAs;
    const bool ok = RegisterName(
        r, st_, [&error, &keptAs](int i) { return CreatePlayerFile(i, &error, &keptAs); });
    if (!ok) {
        if (!error.isEmpty())
            CurrentPlatform().messageBox(
                QStringLiteral("プレイヤーファイルを作れなかったため、登録できませんでした。\n") +
                    error,
                this);
        return;
    }
    if (r.count > oldCount) {
        // A new player file exists now: the roster file must learn of it
        // whichever way the window is left.
        const int index = r.count - 1;
        onDisk_.names[size_t(index)] = r.names[size_t(index)];
        onDisk_.count = int16_t(std::max<int>(onDisk_.count, index + 1));
        if (onDisk_.current < 0 || onDisk_.current >= onDisk_.count)
            onDisk_.current = int16_t(index);
        filesChanged_ = true;
    }
    StoreRoster(r);
    Refresh();
    if (!keptAs.isEmpty())
        CurrentPlatform().messageBox(
            QStringLiteral("既にあったプレイヤーファイル %1 は、%2 という名前で残しました。")
                .arg(PlayerFileName(r.count - 1), keptAs),
            this);
}

void frmPlayerRegist::cmdCancelClick() {
    Roster r = CurrentRoster();
    CancelAction(r, st_);
    StoreRoster(r);
    Refresh();
}

void frmPlayerRegist::cmdExitClick() {
    saveRoster(CurrentRoster());
    {
        BusyCursor busy;
        MyInitForm();
    }
    closingByCode_ = true;
    close();
}

void frmPlayerRegist::saveRoster(const Roster& roster) {
    if (!RosterProblem().isEmpty() &&
        !CurrentPlatform().askYesNo(
            RosterProblem() + QStringLiteral("\n\n読めたプレイヤーだけの名簿で書き直しますか？"
                                             "\n（元の名簿ファイルは別の名前で残します）"),
            this))
        return;
    QString error;
    QString keptAs;
    bool ok = false;
    {
        BusyCursor busy;
        ok = WriteRosterFile(roster, &error, &keptAs);
    }
    if (!ok)
        CurrentPlatform().messageBox(
            QStringLiteral("プレイヤー名簿を保存できませんでした。\n") + error, this);
    else if (!keptAs.isEmpty())
        CurrentPlatform().messageBox(
            QStringLiteral("元の名簿ファイルは %1 という名前で残しました。").arg(keptAs), this);
}

void frmPlayerRegist::closeEvent(QCloseEvent* event) {
    if (!closingByCode_) {
        // Closed from the frame: renames and the choice of player made here
        // are dropped (the menu reads back the roster file). Registrations
        // and deletions have already changed the player files, so the file
        // learns of them: otherwise a new player would be lost and names
        // would point at other players' records.
        if (filesChanged_) saveRoster(onDisk_);
        MyInitForm();
        frmSource::Unload();
    }
    event->accept();
}
