// The settings window: the current player's seven settings as option groups
// and the thinking-time list; "更新" writes them to the player's file,
// "キャンセル" and the close box drop every change.
#pragma once

#include "settings.h"

#include <QWidget>
#include <vector>

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

class frmSetmode : public QWidget {
    Q_OBJECT
public:
    explicit frmSetmode(QWidget* parent = nullptr);

    QGroupBox* frameForm = nullptr;
    QGroupBox* frameBackImage = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* frameSound = nullptr;
    QGroupBox* frameBGMEffect = nullptr;
    QGroupBox* Frame4 = nullptr;
    QGroupBox* frameMakeProb = nullptr;
    std::vector<QRadioButton*> optFormArrange;
    std::vector<QRadioButton*> optBackground;
    std::vector<QRadioButton*> optSoundEffect;
    std::vector<QRadioButton*> optBGMEffect;
    std::vector<QRadioButton*> optColorMode;
    std::vector<QRadioButton*> optMakeQ;
    QListWidget* ThinkTime = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* cmdSaveSetting = nullptr;
    QPushButton* cmdCancelSetting = nullptr;

    void optColorModeClick();
    void ThinkTimeDblClick();
    void cmdSaveSettingClick();
    void cmdCancelSettingClick();

    // The thinking time held until "更新".
    int16_t thinkTime() const { return thinkTime_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildGroup(const GroupInfo& info, QGroupBox* frame, std::vector<QRadioButton*>& opts);
    std::vector<QRadioButton*>& Options(SettingGroup g);
    SettingsChoice CurrentChoice();
    void ApplyColorModeRule();
    void closeByCode();

    int16_t thinkTime_ = 60;
    bool closingByCode_ = false;
};
