#include "settings.h"

const std::vector<GroupInfo>& SettingGroups() {
    static const std::vector<GroupInfo> groups = {
        {SettingGroup::FormArrange,
         QStringLiteral("frameForm"),
         QStringLiteral("画面の配置"),
         QStringLiteral("optFormArrange"),
         {QStringLiteral("中央"), QStringLiteral("左上")}},
        {SettingGroup::Background,
         QStringLiteral("frameBackImage"),
         QStringLiteral("背景ＣＧ"),
         QStringLiteral("optBackground"),
         {QStringLiteral("表示する"), QStringLiteral("表示しない")}},
        {SettingGroup::SoundEffect,
         QStringLiteral("frameSound"),
         QStringLiteral("効果音"),
         QStringLiteral("optSoundEffect"),
         {QStringLiteral("有効"), QStringLiteral("無効")}},
        {SettingGroup::BGMEffect,
         QStringLiteral("frameBGMEffect"),
         QStringLiteral("ＢＧＭ"),
         QStringLiteral("optBGMEffect"),
         {QStringLiteral("有効"), QStringLiteral("無効")}},
        {SettingGroup::ColorMode,
         QStringLiteral("Frame4"),
         QStringLiteral("表示色"),
         QStringLiteral("optColorMode"),
         {QStringLiteral("２５６色超"), QStringLiteral("２５６色")}},
        {SettingGroup::MakeQ,
         QStringLiteral("frameMakeProb"),
         QStringLiteral("トライアルモードの出題"),
         QStringLiteral("optMakeQ"),
         {QStringLiteral("既出題は出題しない"), QStringLiteral("不正解を優先して出題"),
          QStringLiteral("不正解も未出題と混ぜて出題"), QStringLiteral("すべてランダムに出題")}},
    };
    return groups;
}

int16_t GroupValue(const PlayerRecord& r, SettingGroup g) {
    switch (g) {
    case SettingGroup::FormArrange:
        return r.FormArrange;
    case SettingGroup::Background:
        return r.Background;
    case SettingGroup::SoundEffect:
        return r.SoundEffect;
    case SettingGroup::BGMEffect:
        return r.BGMEffect;
    case SettingGroup::ColorMode:
        return r.ColorMode;
    case SettingGroup::MakeQ:
        return r.MakeQ;
    }
    return 0;
}

void SetGroupValue(PlayerRecord& r, SettingGroup g, int16_t value) {
    switch (g) {
    case SettingGroup::FormArrange:
        r.FormArrange = value;
        break;
    case SettingGroup::Background:
        r.Background = value;
        break;
    case SettingGroup::SoundEffect:
        r.SoundEffect = value;
        break;
    case SettingGroup::BGMEffect:
        r.BGMEffect = value;
        break;
    case SettingGroup::ColorMode:
        r.ColorMode = value;
        break;
    case SettingGroup::MakeQ:
        r.MakeQ = value;
        break;
    }
}

int SelectedOption(const GroupInfo& info, int16_t value) {
    return value >= 0 && value < info.captions.size() ? value : -1;
}

QStringList ThinkTimeRows() {
    QStringList rows;
    for (int i = 0; i < kThinkTimeRows; ++i)
        rows << QStringLiteral(" %1").arg(ThinkTimeForRow(i));
    return rows;
}

int ThinkTimeRow(int seconds) {
    if (seconds < 10 || seconds > 10 * kThinkTimeRows || seconds % 10 != 0) return -1;
    return seconds / 10 - 1;
}

int ThinkTimeForRow(int row) {
    return (row + 1) * 10;
}

QString ThinkTimeCaption(int seconds) {
    // Negative values cannot come from this screen; show them plainly.
    const QString digits =
        seconds >= 0 ? ToWideDigits(QString::number(seconds)) : QString::number(seconds);
    return digits + QStringLiteral("秒");
}

bool BackgroundGroupEnabled(int colorModeOption) {
    return colorModeOption != 1;
}

SettingsChoice ChoiceFromRecord(const PlayerRecord& r) {
    SettingsChoice c;
    for (const GroupInfo& g : SettingGroups())
        c.options.push_back(SelectedOption(g, GroupValue(r, g.group)));
    c.thinkTime = r.ThinkTime;
    return c;
}

void ApplyChoice(PlayerRecord& r, const SettingsChoice& c) {
    const auto& groups = SettingGroups();
    for (size_t i = 0; i < groups.size() && i < c.options.size(); ++i) {
        if (c.options[i] >= 0) SetGroupValue(r, groups[i].group, int16_t(c.options[i]));
    }
    r.ThinkTime = c.thinkTime;
}
