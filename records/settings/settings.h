// The settings screen's content apart from the window: its option groups,
// the thinking-time list and how choices go into a player record.
#pragma once

#include "library/player.h"

#include <QString>
#include <QStringList>
#include <vector>

// The option groups in the order the window builds them.
enum class SettingGroup { FormArrange, Background, SoundEffect, BGMEffect, ColorMode, MakeQ };

struct GroupInfo {
    SettingGroup group;
    QString frameName; // objectName of the frame
    QString frameCaption;
    QString optionName; // objectName stem of the option buttons
    QStringList captions;
};

const std::vector<GroupInfo>& SettingGroups();

// The stored value of a group in a record, and storing one.
int16_t GroupValue(const PlayerRecord& r, SettingGroup g);
void SetGroupValue(PlayerRecord& r, SettingGroup g, int16_t value);

// The index of the button a stored value selects, or -1 when the value is
// outside the group's range (then no button is selected).
int SelectedOption(const GroupInfo& info, int16_t value);

inline constexpr int kThinkTimeRows = 30;
// " 10", " 20", ... " 300".
QStringList ThinkTimeRows();
// The row of a thinking time, or -1 when it is not one of 10, 20, ... 300.
int ThinkTimeRow(int seconds);
// Thinking time for a chosen row: (row + 1) × 10.
int ThinkTimeForRow(int row);
// "６０秒".
QString ThinkTimeCaption(int seconds);

// Whether the background-picture group can be used: not in 256-colour mode.
bool BackgroundGroupEnabled(int colorModeOption);

// What the screen holds while it is open: the option chosen in each group
// (-1: none) and the thinking time.
struct SettingsChoice {
    std::vector<int> options; // one per SettingGroups() entry
    int16_t thinkTime = 60;
};
SettingsChoice ChoiceFromRecord(const PlayerRecord& r);
// Stores the choice into the record; a group with no button selected keeps
// its stored value.
void ApplyChoice(PlayerRecord& r, const SettingsChoice& c);
