#include "shell/menu.h"

#include "board/boardview.h"
#include "library/courses.h"
#include "library/player.h"
#include "library/session.h"
#include "platform/platform.h"
#include "rules/outcome.h"
#include "shell/appinit.h"
#include "shell/router.h"
#include "shell/windowlook.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QRadioButton>
#include <algorithm>

namespace {

const QString kTitle = QStringLiteral("Velmora２");
const QString kUnregistered = QStringLiteral("未登録");
const QString kStartHint =
    QStringLiteral("選んだ項目をもう一度クリックするか Return キーを押すと始まります。");

// Layout of the client area, in pixels.
constexpr int kClientW = 640;
constexpr int kClientH = 440;
constexpr int kOptLeft = 48;
constexpr int kOptTop = 64;
constexpr int kOptW = 240;
constexpr int kOptH = 28;
constexpr int kOptStepTwips = 550;

const char* const kPanelStyle =
    "QFrame#framePlayer, QFrame#frameExplain {"
    " background-color: rgba(255, 255, 255, 190); border: 1px solid rgba(60, 60, 60, 160);"
    " border-radius: 4px; }";

} // namespace

QString MenuEntryCaption(int i) {
    static const char* const captions[kMenuEntries] = {
        "トライアルモード", "学習モード", "鑑賞モード", "モード設定", "プレイヤー登録", "終了",
    };
    return i >= 0 && i < kMenuEntries ? QString::fromUtf8(captions[i]) : QString();
}

QString MenuEntryExplanation(int i) {
    static const char* const explanations[kMenuEntries] = {
        "感覚を養うモードです。\n制限時間内に次の一手を答え、\n実力判定と復習をします。",
        "読みを養うモードです。\nソフトの出題に対して一段落す\nるまで次々に答えていきます。",
        ("手順を見るモードです。代表的な\n正解手順と変化手順を鑑賞します\n"
         "。石を置いての検討もできます。\n"),
        "各種設定をします。",
        "プレイヤーの登録をします。\nゲームをするには最低一人は\n登録する必要があります。",
        "Velmora２を終了します。",
    };
    return i >= 0 && i < kMenuEntries ? QString::fromUtf8(explanations[i]) : QString();
}

frmMenu::frmMenu(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmMenu"));
    setWindowTitle(kTitle);
    setAccessibleName(kTitle);

    mnuHelp = menuBar()->addMenu(QStringLiteral("ヘルプ"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelp->menuAction()->setObjectName(QStringLiteral("mnuHelp"));
    mnuUsage = mnuHelp->addAction(QStringLiteral("使い方(&H)"));
    mnuUsage->setObjectName(QStringLiteral("mnuUsage"));
    mnuUsage->setShortcut(QKeySequence::HelpContents);
    connect(mnuUsage, &QAction::triggered, this, [] { OpenWindow(Role::Help); });
    mnuVersion = mnuHelp->addAction(QStringLiteral("バージョン情報(&V)"));
    mnuVersion->setObjectName(QStringLiteral("mnuVersion"));
    connect(mnuVersion, &QAction::triggered, this, [] { OpenWindow(Role::About); });
    // Beside ヘルプ: the player's progress over time.
    auto* mnuProgress = new QAction(QStringLiteral("成績の推移(&P)"), this);
    mnuProgress->setObjectName(QStringLiteral("mnuProgress"));
    menuBar()->insertAction(mnuHelp->menuAction(), mnuProgress);
    connect(mnuProgress, &QAction::triggered, this, [] { OpenWindow(Role::Progress); });

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientW, kClientH);
    client->setStyleSheet(QString::fromLatin1(kPanelStyle));
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    lblDoing = new QLabel(QStringLiteral("ゲームモードを選んでください"), client);
    NameControl(lblDoing, QStringLiteral("lblDoing"), lblDoing->text());
    lblDoing->setGeometry(32, 24, 280, 24);
    QFont heading = lblDoing->font();
    heading.setBold(true);
    lblDoing->setFont(heading);

    auto* framePlayer = new QFrame(client);
    framePlayer->setObjectName(QStringLiteral("framePlayer"));
    framePlayer->setGeometry(352, 24, 256, 78);
    Label5 = new QLabel(QStringLiteral("プレイヤー"), framePlayer);
    NameControl(Label5, QStringLiteral("Label5"), Label5->text());
    Label5->setGeometry(12, 8, 200, 20);
    Label5->setFont(heading);
    lblPlayer = new QLabel(framePlayer);
    lblPlayer->setObjectName(QStringLiteral("lblPlayer"));
    lblPlayer->setGeometry(28, 36, 220, 30);
    QFont nameFont = lblPlayer->font();
    nameFont = EnlargedFont(nameFont, 5);
    lblPlayer->setFont(nameFont);

    auto* frameExplain = new QFrame(client);
    frameExplain->setObjectName(QStringLiteral("frameExplain"));
    frameExplain->setGeometry(352, 118, 256, 154);
    Label4 = new QLabel(QStringLiteral("説明"), frameExplain);
    NameControl(Label4, QStringLiteral("Label4"), Label4->text());
    Label4->setGeometry(12, 8, 200, 20);
    Label4->setFont(heading);
    lblExplain = new QLabel(frameExplain);
    lblExplain->setObjectName(QStringLiteral("lblExplain"));
    lblExplain->setGeometry(18, 34, 232, 72);
    lblExplain->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblStartHint = new QLabel(kStartHint, frameExplain);
    NameControl(lblStartHint, QStringLiteral("lblStartHint"), kStartHint);
    lblStartHint->setGeometry(18, 108, 232, 40);
    lblStartHint->setWordWrap(true);
    lblStartHint->setStyleSheet(QStringLiteral("color: #404040;"));

    // Load: refresh from the player files, build the program-wide tables.
    adjustSize();
    MyInitForm();
    QString error;
    if (!InitCourses(&error)) FatalError(error);
    InitOutcomeTable();
    // The comment lists are read by the first window that shows a comment.

    // The entries: element 0 and the five created below it, 550 twips apart.
    QFont entryFont = font();
    entryFont = EnlargedFont(entryFont, 2);
    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
    for (int i = 0; i < kMenuEntries; ++i) {
        auto* opt = new QRadioButton(MenuEntryCaption(i), client);
        opt->setFont(entryFont);
        NameControl(opt, QStringLiteral("optMode_%1").arg(i), MenuEntryCaption(i));
        // As wide as its caption: a press anywhere on it hits the entry.
        opt->setGeometry(kOptLeft, kOptTop + TwipsToPixels(i * kOptStepTwips),
                         std::min(kOptW, opt->sizeHint().width()), kOptH);
        opt->installEventFilter(this);
        group_->addButton(opt, i);
        connect(opt, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) optMode_Click(i);
        });
        optMode[size_t(i)] = opt;
        opt->setVisible(true);
    }
    optMode[0]->setChecked(true);
    optMode[0]->setFocus();

    SetMenuWindow(this);
    SetMenuRefresh([this] { MyInitForm(); });
}

frmMenu::~frmMenu() {
    if (MenuWindow() == this) {
        SetMenuWindow(nullptr);
        SetMenuRefresh(nullptr);
    }
}

void frmMenu::MyInitForm() {
    ReadRoster();
    if (gPlayerCount > 0) {
        QString error;
        if (!LoadPlayerFile(gCurPlayer, &error)) FatalError(error);
    } else {
        DefaultSettings();
    }
    const QString name = gPlayerCount > 0 ? gPlayerName[size_t(gCurPlayer)] : kUnregistered;
    lblPlayer->setText(name);
    lblPlayer->setAccessibleName(name);
    ApplyWindowLook(this, QStringLiteral("keiryu.bmp"), false);
    ShowFileNotices(this);
}

void frmMenu::optMode_Click(int i) {
    lblExplain->setText(MenuEntryExplanation(i));
    lblExplain->setAccessibleName(MenuEntryExplanation(i).trimmed());
}

int frmMenu::selectedEntry() const {
    return group_ ? group_->checkedId() : -1;
}

bool frmMenu::eventFilter(QObject* watched, QEvent* event) {
    auto* opt = qobject_cast<QRadioButton*>(watched);
    if (opt && group_ && group_->id(opt) >= 0) {
        const auto type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
            // A press on the entry that is already selected starts it; the
            // first press only selects (and explains) it.
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() == Qt::LeftButton && opt->isChecked()) {
                StartSelected();
                return true;
            }
        } else if (type == QEvent::KeyPress) {
            auto* ke = static_cast<QKeyEvent*>(event);
            if ((ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) && opt->isChecked()) {
                StartSelected();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMenu::StartSelected() {
    int entry = selectedEntry();
    if (entry < 0) entry = 0;
    // One mode at a time: while a window of another entry is open, only quit works.
    if (entry != 5 && RoadWindowOpen()) {
        Beep();
        return;
    }
    if (entry != 4 && entry != 5 && gPlayerCount == 0) {
        CurrentPlatform().messageBox(
            QStringLiteral("プレイヤーを登録してからゲームを始めてください"), this);
        return;
    }
    BusyCursor busy;
    switch (entry) {
    case 0:
        gMode = 1;
        OpenWindow(Role::CourseSelect);
        break;
    case 1:
        gMode = 2;
        OpenWindow(Role::Picker);
        break;
    case 2:
        gMode = 3;
        OpenWindow(Role::Picker);
        break;
    case 3:
        gMode = 4;
        OpenWindow(Role::Settings);
        break;
    case 4:
        gMode = 5;
        OpenWindow(Role::Registration);
        break;
    default:
        frmSource::Unload();
        CurrentPlatform().quitProgram();
        break;
    }
}

void frmMenu::closeEvent(QCloseEvent* event) {
    frmSource::Unload();
    event->accept();
}
