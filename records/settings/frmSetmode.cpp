#include "frmSetmode.h"

#include "library/player.h"
#include "platform/platform.h"
#include "shell/controls.h"
#include "shell/keyboard.h"
#include "shell/router.h"
#include "shell/windowlook.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr int kWindowW = 9600;
constexpr int kWindowH = 6600;
constexpr int kOptionStep = 600;
constexpr int kOptionTop = 330;

// A frame on a pale panel so its captions read over the background picture.
QGroupBox* MakeFrame(QWidget* parent, const QString& name, const QString& caption, const QRect& r) {
    auto* f = new QGroupBox(caption, parent);
    NameControl(f, name, caption);
    f->setGeometry(r);
    QPalette pal = f->palette();
    pal.setColor(QPalette::Window, QColor(252, 250, 244, 240));
    pal.setColor(QPalette::WindowText, Qt::black);
    f->setPalette(pal);
    f->setAutoFillBackground(true);
    return f;
}

} // namespace

frmSetmode::frmSetmode(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmSetmode"));
    setWindowTitle(QStringLiteral("モード設定"));
    setFixedSize(TwipsToPixels(kWindowW), TwipsToPixels(kWindowH));

    const auto& groups = SettingGroups();
    auto info = [&groups](SettingGroup g) -> const GroupInfo& {
        for (const GroupInfo& i : groups)
            if (i.group == g) return i;
        return groups.front();
    };
    auto frame = [this, &info](SettingGroup g, const QRect& r) {
        return MakeFrame(this, info(g).frameName, info(g).frameCaption, r);
    };
    frameForm = frame(SettingGroup::FormArrange, Twips(240, 180, 2940, 1440));
    frameBackImage = frame(SettingGroup::Background, Twips(240, 1740, 2940, 1440));
    Frame4 = frame(SettingGroup::ColorMode, Twips(240, 3300, 2940, 1440));
    frameSound = frame(SettingGroup::SoundEffect, Twips(240, 4860, 2940, 1440));
    frameBGMEffect = frame(SettingGroup::BGMEffect, Twips(3330, 180, 3420, 1440));
    frameMakeProb = frame(SettingGroup::MakeQ, Twips(3330, 1740, 3420, 2640));
    Frame2 = MakeFrame(this, QStringLiteral("Frame2"), QStringLiteral("考慮時間"),
                       Twips(6900, 180, 2460, 4200));

    Label2 = new QLabel(Frame2);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(Twips(240, 330, 1980, 360));
    Label2->setAlignment(Qt::AlignCenter);
    ThinkTime = new QListWidget(Frame2);
    NameControl(ThinkTime, QStringLiteral("ThinkTime"), QStringLiteral("考慮時間"));
    ThinkTime->setGeometry(Twips(240, 780, 1980, 3240));
    ThinkTime->installEventFilter(this);
    connect(ThinkTime, &QListWidget::itemDoubleClicked, this, [this] { ThinkTimeDblClick(); });

    cmdSaveSetting = new QPushButton(QStringLiteral("更新"), this);
    NameControl(cmdSaveSetting, QStringLiteral("cmdSaveSetting"), QStringLiteral("更新"));
    cmdSaveSetting->setGeometry(Twips(3810, 5460, 2400, 570));
    cmdSaveSetting->setDefault(true);
    cmdCancelSetting = new QPushButton(QStringLiteral("キャンセル"), this);
    NameControl(cmdCancelSetting, QStringLiteral("cmdCancelSetting"), QStringLiteral("キャンセル"));
    cmdCancelSetting->setGeometry(Twips(6900, 5460, 2400, 570));
    connect(cmdSaveSetting, &QPushButton::clicked, this, [this] { cmdSaveSettingClick(); });
    connect(cmdCancelSetting, &QPushButton::clicked, this, [this] { cmdCancelSettingClick(); });
    SetKeyboardButtons(this, cmdCancelSetting, cmdSaveSetting);

    // Loading the window: the record as stored, then the groups in order.
    if (gPlayerCount > 0) {
        QString error;
        if (!LoadPlayerFile(gCurPlayer, &error)) FatalError(error);
    }
    ApplyWindowLook(this, QStringLiteral("sekitei.bmp"), false);

    BuildGroup(info(SettingGroup::FormArrange), frameForm, optFormArrange);
    BuildGroup(info(SettingGroup::Background), frameBackImage, optBackground);

    thinkTime_ = gPlayerRecord.ThinkTime;
    Label2->setText(ThinkTimeCaption(thinkTime_));
    Label2->setAccessibleName(Label2->text());
    ThinkTime->addItems(ThinkTimeRows());
    const int row = ThinkTimeRow(thinkTime_);
    if (row >= 0) {
        ThinkTime->setCurrentRow(row);
        ThinkTime->scrollToItem(ThinkTime->item(row), QAbstractItemView::PositionAtCenter);
    } else {
        ThinkTime->setCurrentRow(-1);
        ThinkTime->clearSelection();
    }

    BuildGroup(info(SettingGroup::SoundEffect), frameSound, optSoundEffect);
    BuildGroup(info(SettingGroup::BGMEffect), frameBGMEffect, optBGMEffect);
    BuildGroup(info(SettingGroup::ColorMode), Frame4, optColorMode);
    BuildGroup(info(SettingGroup::MakeQ), frameMakeProb, optMakeQ);
    for (QRadioButton* b : optColorMode)
        connect(b, &QRadioButton::toggled, this, [this] { optColorModeClick(); });
    ApplyColorModeRule();
}

void frmSetmode::BuildGroup(const GroupInfo& info, QGroupBox* frame,
                            std::vector<QRadioButton*>& opts) {
    auto* group = new QButtonGroup(frame);
    group->setExclusive(true);
    const int selected = SelectedOption(info, GroupValue(gPlayerRecord, info.group));
    const int width = frame->width() * 15 - 480;
    for (int i = 0; i < info.captions.size(); ++i) {
        auto* b = new QRadioButton(info.captions[i], frame);
        NameControl(b, QStringLiteral("%1_%2").arg(info.optionName).arg(i), info.captions[i]);
        b->setGeometry(Twips(240, kOptionTop + kOptionStep * i, width, 360));
        group->addButton(b, i);
        b->setVisible(true);
        opts.push_back(b);
    }
    if (selected >= 0) opts[size_t(selected)]->setChecked(true);
}

std::vector<QRadioButton*>& frmSetmode::Options(SettingGroup g) {
    switch (g) {
    case SettingGroup::FormArrange:
        return optFormArrange;
    case SettingGroup::Background:
        return optBackground;
    case SettingGroup::SoundEffect:
        return optSoundEffect;
    case SettingGroup::BGMEffect:
        return optBGMEffect;
    case SettingGroup::ColorMode:
        return optColorMode;
    case SettingGroup::MakeQ:
        break;
    }
    return optMakeQ;
}

SettingsChoice frmSetmode::CurrentChoice() {
    SettingsChoice c;
    for (const GroupInfo& g : SettingGroups()) {
        int chosen = -1;
        const auto& opts = Options(g.group);
        for (size_t i = 0; i < opts.size(); ++i)
            if (opts[i]->isChecked()) chosen = int(i);
        c.options.push_back(chosen);
    }
    c.thinkTime = thinkTime_;
    return c;
}

void frmSetmode::ApplyColorModeRule() {
    const int mode = optColorMode.size() > 1 && optColorMode[1]->isChecked() ? 1 : 0;
    const bool enabled = BackgroundGroupEnabled(mode);
    frameBackImage->setEnabled(enabled);
    for (QRadioButton* b : optBackground)
        b->setEnabled(enabled);
}

void frmSetmode::optColorModeClick() {
    ApplyColorModeRule();
}

void frmSetmode::ThinkTimeDblClick() {
    const int row = ThinkTime->currentRow();
    if (row < 0) return;
    thinkTime_ = int16_t(ThinkTimeForRow(row));
    Label2->setText(ThinkTimeCaption(thinkTime_));
    Label2->setAccessibleName(Label2->text());
}

bool frmSetmode::eventFilter(QObject* watched, QEvent* event) {
    // Enter on the list chooses the row, like a double-click.
    if (watched == ThinkTime && event->type() == QEvent::KeyPress) {
        const auto* ke = static_cast<QKeyEvent*>(event);
        if (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) {
            ThinkTimeDblClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmSetmode::cmdSaveSettingClick() {
    {
        BusyCursor busy;
        if (gPlayerCount > 0) {
            // The record in memory, as read when the window opened, with the
            // new settings.
            ApplyChoice(gPlayerRecord, CurrentChoice());
            QString error;
            if (!SavePlayerFile(gCurPlayer, &error)) {
                CurrentPlatform().messageBox(
                    QStringLiteral("設定を保存できませんでした。\n") + error, this);
                return;
            }
        } else {
            CurrentPlatform().messageBox(
                QStringLiteral("プレイヤーが登録されていないため、設定を保存できません。\n"
                               "プレイヤーを登録してから設定してください。"),
                this);
        }
        MyInitForm();
    }
    closeByCode();
}

void frmSetmode::cmdCancelSettingClick() {
    {
        BusyCursor busy;
        MyInitForm();
    }
    closeByCode();
}

void frmSetmode::closeByCode() {
    closingByCode_ = true;
    close();
}

void frmSetmode::closeEvent(QCloseEvent* event) {
    // Closed from the frame: nothing is written.
    if (!closingByCode_) MyInitForm();
    event->accept();
}
