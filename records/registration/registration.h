// The player registration screen's rules, apart from the window: its four
// states, what each control shows in each state, typing with the on-screen
// keyboard, registering, renaming and deleting players on a roster.
#pragma once

#include "library/player.h"

#include <QPoint>
#include <QString>
#include <array>
#include <functional>

inline constexpr int kMaxNameLength = 10;
inline constexpr int kKeyCount = 36;
inline constexpr int kRowPitchTwips = 500;
inline constexpr int kKeyPitchTwips = 600;

// Row colours, shared with other lists of players.
inline constexpr unsigned kColorNormal = 0xFFFF80;    // RGB(255, 255, 128)
inline constexpr unsigned kColorHighlight = 0xFF80FF; // RGB(255, 128, 255)

struct RegistState {
    enum : int16_t { List = 0, Chosen = 1, Typing = 2, Renaming = 3 };
    int16_t state = List;
    int16_t saved = 0; // the current player restored by cancel
    QString entered;   // the name being typed
};

struct RowView {
    bool visible = false;
    QString number;
    QString name;
    bool highlighted = false;
};

struct RegistView {
    QString doing;
    bool change = false, regist = false, rename = false, del = false, cancel = false, exit = false;
    std::array<RowView, kMaxPlayers> rows;
    bool keysVisible = false;
};

// What the window shows for a roster and a state.
RegistView ViewFor(const Roster& roster, const RegistState& st);

// Key i: "A".."Z" for 0-25, "0".."9" for 26-35.
QChar KeyCharacter(int i);
// Offset of key i from key 0 in twips: ten letters a row, the digits on the
// fourth row.
QPoint KeyOffsetTwips(int i);

// A click on row i; only acts in the list state. Returns whether it did.
bool ClickRow(Roster& roster, RegistState& st, int i);
// "プレイヤー選択": the chosen player stays current.
void ConfirmChoice(RegistState& st);
// "改名": type a new name for the chosen player.
void StartRename(const Roster& roster, RegistState& st);
// A keyboard key; false (beep) when the name is already full.
bool TypeKey(RegistState& st, QChar c);
// Text typed on the keyboard or committed by an input method. All of it is
// added, or nothing (false: beep) when the name would grow past ten
// characters or a character cannot be kept: one with no Shift-JIS form (the
// roster and player files are Shift-JIS), a control character or the double
// quote that ends a name in the roster file.
bool TypeText(RegistState& st, const QString& text);
// Whether a character may be part of a player's name.
bool IsNameCharacter(QChar c);
// "削除" while typing: erase the last character; false (beep) when empty.
bool EraseKey(RegistState& st);
// "キャンセル": back to the list with the saved player current.
void CancelAction(Roster& roster, RegistState& st);

// "プレイヤー登録" while typing or renaming. A new player's file is made by
// `createFile`(index); when that fails nothing is added, the state stays as
// it was and false is returned.
bool RegisterName(Roster& roster, RegistState& st, const std::function<bool(int)>& createFile);

// The confirmation asked before deleting the chosen player.
QString DeleteQuestion(const Roster& roster);
// Deletes the chosen player: names and files of the players after it move
// down one place through `copyFile`(from, to); a failed copy is skipped.
// With no player left there is no current player (-1).
void DeleteChosen(Roster& roster, RegistState& st, const std::function<bool(int, int)>& copyFile);

// The roster file's own view of a deletion: player `index` leaves and the
// players after it move down one place, as their files just did; the
// current player stays the same person (the next one when it was the
// deleted player, none when nobody is left). An index past the roster (a
// player registered since the file was read) changes nothing.
void RemoveFromRoster(Roster& roster, int index);

// The program-wide roster as a Roster, and back.
Roster CurrentRoster();
void StoreRoster(const Roster& roster);
