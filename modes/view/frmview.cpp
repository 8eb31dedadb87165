#include "frmview.h"

#include "board/boardview.h"
#include "library/courses.h"
#include "library/files.h"
#include "library/player.h"
#include "library/session.h"
#include "platform/platform.h"
#include "rules/outcome.h"
#include "rules/rules.h"
#include "shell/keptcontrols.h"
#include "shell/keyboard.h"
#include "shell/message.h"
#include "shell/router.h"
#include "shell/saveplayer.h"
#include "shell/windowlook.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

constexpr int kSlowTick = 1000; // one move a second
constexpr int kFastTick = 5;    // full speed to either end

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, QRect geometry) {
    auto* label = new TextLabel(text, parent);
    NameControl(label, name, text);
    label->setGeometry(geometry);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& text, QRect geometry) {
    auto* button = new TextButton(text, parent);
    NameControl(button, name, text);
    button->setGeometry(geometry);
    return button;
}

// A picture button: its accessible name says what it does.
QPushButton* MakePictureButton(QWidget* parent, const QString& name, const QString& description,
                               QRect geometry) {
    auto* button = new TextButton(parent);
    NameControl(button, name, description);
    button->setToolTip(description);
    button->setGeometry(geometry);
    return button;
}

// Shown on a picture button when its picture file cannot be read.
QString FallbackGlyph(const QString& base) {
    if (base == QLatin1String("toroo")) return QStringLiteral("|◀");
    if (base == QLatin1String("1prev")) return QStringLiteral("◀");
    if (base == QLatin1String("playi")) return QStringLiteral("▶");
    if (base == QLatin1String("1forw")) return QStringLiteral("▶");
    if (base == QLatin1String("tobot")) return QStringLiteral("▶|");
    return QStringLiteral("■");
}

} // namespace

frmView::frmView(QWidget* parent)
    : QWidget(parent), sel_(SelectionSnapshot::Take()), state_(problem_) {
    setWindowTitle(QStringLiteral("鑑賞"));
    setObjectName(QStringLiteral("frmView"));
    setFixedSize(635, 429);
    BuildControls();

    frmSource::Unload();
    state_.ExamineOn = false;
    QString error;
    if (!LoadPlayerFile(gCurPlayer, &error)) FatalError(error);
    ApplyWindowLook(this, QStringLiteral("marble.bmp"), false);
    ShowProblem();
}

frmView::~frmView() = default;

void frmView::BuildControls() {
    picBoard = new BoardView(BoardStyle{1, false}, this);
    picBoard->EnableKeyboard(true);
    NameControl(picBoard, QStringLiteral("picBoard"), QStringLiteral("碁盤"));
    picBoard->setGeometry(242, 38, 385, 385);
    connect(picBoard, &BoardView::boardPressed, this,
            [this](int x, int y, int buttons) { BoardPressed(x, y, buttons); });

    Frame1 = new TextGroupBox(QStringLiteral("変化図"), this);
    NameControl(Frame1, QStringLiteral("Frame1"), QStringLiteral("変化図"));
    Frame1->setGeometry(4, 8, 225, 125);
    optGroup_ = new QButtonGroup(this);
    optGroup_->setExclusive(true);
    for (int i = 0; i < kMaxSequences; ++i) {
        auto* opt = new TextRadio(QStringLiteral("正解"), Frame1);
        NameControl(
            opt, i == 0 ? QStringLiteral("optRepresent") : QStringLiteral("optRepresent_%1").arg(i),
            QStringLiteral("正解"));
        opt->setGeometry(8, TwipsToPixels(16 * 15 + 400 * i), 213, 21);
        optGroup_->addButton(opt, i);
        // A click restarts the line, also on the option already chosen.
        connect(opt, &QRadioButton::clicked, this, [this] { SelectSequence(); });
        optRepresent[size_t(i)] = opt;
    }

    cmdRew = MakePictureButton(this, QStringLiteral("cmdRew"), QStringLiteral("最初へ"),
                               {24, 152, 41, 29});
    cmdPrev = MakePictureButton(this, QStringLiteral("cmdPrev"), QStringLiteral("１手戻る"),
                                {24, 188, 41, 29});
    cmdPlayStop = MakePictureButton(this, QStringLiteral("cmdPlayStop"), QStringLiteral("再生"),
                                    {80, 152, 41, 29});
    cmdNext = MakePictureButton(this, QStringLiteral("cmdNext"), QStringLiteral("１手進む"),
                                {136, 188, 41, 29});
    cmdQue = MakePictureButton(this, QStringLiteral("cmdQue"), QStringLiteral("最後へ"),
                               {136, 152, 41, 29});
    cmdStop = MakePictureButton(this, QStringLiteral("cmdStop"), QStringLiteral("停止"),
                                {80, 188, 41, 29});
    connect(cmdRew, &QPushButton::clicked, this, [this] { StartPlay(false, kFastTick); });
    connect(cmdPlayStop, &QPushButton::clicked, this, [this] { StartPlay(true, kSlowTick); });
    connect(cmdQue, &QPushButton::clicked, this, [this] { StartPlay(true, kFastTick); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { cmdNext_Click(); });
    connect(cmdPrev, &QPushButton::clicked, this, [this] { cmdPrev_Click(); });
    connect(cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });

    cmdExamine =
        MakeButton(this, QStringLiteral("cmdExamine"), QStringLiteral("検討"), {4, 360, 105, 29});
    cmdPrevProb = MakeButton(this, QStringLiteral("cmdPrevProb"), QStringLiteral("前問"),
                             {120, 396, 105, 29});
    cmdNextProb = MakeButton(this, QStringLiteral("cmdNextProb"), QStringLiteral("次問"),
                             {120, 360, 105, 29});
    cmdModeChange =
        MakeButton(this, QStringLiteral("cmdModeChange"), QStringLiteral("学習"), {578, 4, 55, 25});
    cmdExit =
        MakeButton(this, QStringLiteral("cmdExit"), QStringLiteral("終了"), {4, 396, 105, 29});
    connect(cmdExamine, &QPushButton::clicked, this, [this] { cmdExamine_Click(); });
    connect(cmdNextProb, &QPushButton::clicked, this, [this] { StepProblem(1); });
    connect(cmdPrevProb, &QPushButton::clicked, this, [this] { StepProblem(-1); });
    connect(cmdModeChange, &QPushButton::clicked, this, [this] { cmdModeChange_Click(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    SetKeyboardButtons(this, cmdExit, nullptr,
                       {{Qt::Key_Left, cmdPrev},
                        {Qt::Key_Right, cmdNext},
                        {Qt::Key_Home, cmdRew},
                        {Qt::Key_End, cmdQue}});

    lblNowKekka = MakeLabel(this, QStringLiteral("lblNowKekka"),
                            QStringLiteral("「白死」になりました"), {2, 292, 237, 49});
    lblNowKekka->setWordWrap(true);
    lblNowKekka->setAlignment(Qt::AlignCenter);
    lblMouse = MakeLabel(this, QStringLiteral("lblMouse"), QStringLiteral("左…着手 右…戻り"),
                         {402, 4, 171, 25});
    lblMouse->hide();
    lblQNth =
        MakeLabel(this, QStringLiteral("lblQNth"), QStringLiteral("第ＸＸ問"), {242, 4, 89, 25});
    lblProbKekka = MakeLabel(this, QStringLiteral("lblProbKekka"), QStringLiteral("黒先白死"),
                             {2, 228, 237, 21});
    lblProbKekka->setAlignment(Qt::AlignCenter);
    lblNext =
        MakeLabel(this, QStringLiteral("lblNext"), QStringLiteral("次の手"), {0, 260, 57, 19});
    lblNext->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblNth =
        MakeLabel(this, QStringLiteral("lblNth"), QStringLiteral("ＸＸＸ手"), {112, 260, 87, 21});
    lblTeban =
        MakeLabel(this, QStringLiteral("lblTeban"), QStringLiteral("Ｘ番"), {68, 260, 41, 21});
    lblProb = MakeLabel(this, QStringLiteral("lblProb"), QStringLiteral("#XXXX"), {334, 4, 65, 25});

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Tick(); });
}

// ---- showing a problem ------------------------------------------------------

bool frmView::LoadShownProblem() {
    const int course = sel_.course;
    if (sel_.probNo < 0 || sel_.probNo >= LoadedProbCount(course)) {
        Beep();
        CurrentPlatform().messageBox(QStringLiteral("この問題はありません。"), this);
        return false;
    }
    QString error;
    if (!LoadProblem(course, sel_.probNo, problem_, &error)) FatalError(error);
    return true;
}

void frmView::ShowProblem() {
    SetAction(Idle);
    BusyCursor busy;

    if (sel_.mode == 3) {
        lblQNth->hide();
    } else {
        sel_.FollowQuestion();
        lblQNth->setText(QuestionCaption(sel_.questionNo));
        lblQNth->setAccessibleName(lblQNth->text());
        lblQNth->show();
    }
    // The current selection follows what this window shows; the window itself
    // never reads it back.
    gProbNo = sel_.probNo;
    gQuestionNo = sel_.questionNo;
    lblProb->setText(QStringLiteral("#") + QString::number(sel_.probNo + 1));
    lblProb->setAccessibleName(lblProb->text());

    if (LoadShownProblem()) {
        CalcAllResults(problem_);
    } else {
        problem_ = Problem{};
    }
    state_.LoadSequences();

    for (int i = 0; i < kMaxSequences; ++i) {
        QRadioButton* opt = optRepresent[size_t(i)];
        if (i < state_.ReplCount()) {
            opt->setText(state_.sequences.captions[size_t(i)]);
            opt->setAccessibleName(opt->text());
            opt->show();
        } else {
            opt->hide();
        }
    }
    picBoard->InitBoardMetrics(problem_.ViewSize > 0 ? problem_.ViewSize : kBoardSize);
    optRepresent[0]->setChecked(true);
    SelectSequence();
}

void frmView::SelectSequence() {
    int index = 0;
    for (int i = 0; i < state_.ReplCount(); ++i) {
        if (optRepresent[size_t(i)]->isChecked()) {
            index = i;
            break;
        }
    }
    state_.SelectSequence(index);
    UpdateLabels();
    DrawBoard();
    // The action goes on with the new line: playing forwards keeps playing
    // from its start; anything going backwards has nothing left to do.
    if (timerAction_ == PlayBackward || timerAction_ == OneBackward || state_.gKeiros == 0)
        SetAction(Idle);
    if (timerAction_ == PlayForward)
        SetPlayingButtons();
    else
        SetIdleButtons();
}

void frmView::DrawBoard() {
    picBoard->DrawBoard(state_.board);
}

void frmView::UpdateLabels() {
    if (!state_.ExamineOn) {
        lblProbKekka->setText(QStringLiteral("黒先") + OutcomeText(0, state_.RootResult));
        lblProbKekka->setAccessibleName(lblProbKekka->text());
        if (state_.ReplCount() == 0) {
            lblNowKekka->setText(QStringLiteral("変化図がありません"));
            lblNowKekka->show();
        } else if (state_.gNowNth < state_.gKeiros) {
            lblNowKekka->hide();
        } else {
            lblNowKekka->setText(NowKekkaText(state_.NowResult));
            lblNowKekka->show();
            cmdNextProb->setFocus();
        }
        lblNowKekka->setAccessibleName(lblNowKekka->text());
    }
    lblNth->setText(MoveNumberText(state_.gNowNth));
    lblNth->setAccessibleName(lblNth->text());
    lblTeban->setText(TebanText(state_.gNowNth));
    lblTeban->setAccessibleName(lblTeban->text());
}

// ---- play buttons and timer -------------------------------------------------

void frmView::SetPicture(QPushButton* button, const QString& base, bool active) {
    const QString file =
        base + (active ? QStringLiteral("000") : QStringLiteral("002")) + QStringLiteral(".bmp");
    button->setEnabled(active);
    if (button->property("picture").toString() == file) return; // showing it already
    // Read once per opening of the window, at the screen's density.
    const QPixmap& picture = frmSource::ButtonPicture(file, devicePixelRatioF());
    if (picture.isNull()) {
        button->setIcon(QIcon());
        button->setText(FallbackGlyph(base));
    } else {
        QIcon icon;
        icon.addPixmap(picture, QIcon::Normal);
        icon.addPixmap(picture, QIcon::Disabled);
        button->setText(QString());
        button->setIcon(icon);
        button->setIconSize(picture.deviceIndependentSize().toSize());
    }
    button->setProperty("picture", file);
}

void frmView::SetButtons(const PlayButtons& b) {
    SetPicture(cmdRew, QStringLiteral("toroo"), b.rew);
    SetPicture(cmdPrev, QStringLiteral("1prev"), b.prev);
    SetPicture(cmdPlayStop, QStringLiteral("playi"), b.playStop);
    SetPicture(cmdQue, QStringLiteral("tobot"), b.que);
    SetPicture(cmdNext, QStringLiteral("1forw"), b.next);
    SetPicture(cmdStop, QStringLiteral("stopi"), b.stop);
}

void frmView::SetIdleButtons() {
    SetButtons(IdleButtons(state_.gNowNth, state_.gKeiros));
}

void frmView::SetPlayingButtons() {
    SetButtons(PlayingButtons());
}

void frmView::SetAction(int action) {
    timerAction_ = action;
    ++actionSerial_;
    SyncTimer();
}

// An idle timer does not tick at all; any other action keeps it running.
void frmView::SyncTimer() {
    if (timerAction_ == Idle)
        Timer1->stop();
    else if (!Timer1->isActive())
        Timer1->start();
}

void frmView::StartPlay(bool forwards, int intervalMs) {
    Timer1->setInterval(intervalMs);
    SetAction(forwards ? PlayForward : PlayBackward);
    Timer1->start();
    SetPlayingButtons();
}

void frmView::cmdNext_Click() {
    Timer1->setInterval(kSlowTick);
    SetAction(OneForward);
    Timer1->start();
}

void frmView::cmdPrev_Click() {
    Timer1->setInterval(kSlowTick);
    SetAction(OneBackward);
    Timer1->start();
}

void frmView::cmdStop_Click() {
    SetIdleButtons();
    SetAction(Idle);
}

void frmView::Timer1Tick() {
    if (state_.ExamineOn) return; // the replay never steps on the examined board
    switch (timerAction_) {
    case PlayForward:
    case OneForward:
        StepForward();
        break;
    case PlayBackward:
    case OneBackward:
        StepBackward();
        break;
    default:
        break;
    }
}

void frmView::StepForward() {
    int a = timerAction_;
    timerAction_ = Idle; // ticks arriving during the sound or the message do nothing
    const unsigned serial = actionSerial_;

    const StepResult r = state_.StepForward();
    if (!r.moved) {
        SetIdleButtons();
        SetAction(Idle);
        return;
    }
    if (r.reachedEnd) {
        SetIdleButtons();
        a = Idle;
    }
    DrawBoard();
    UpdateLabels();

    QPointer<frmView> self(this);
    PlaySoundFile(QStringLiteral("stone.wav"), 0);
    if (!self) return;
    if (r.valueChanged) {
        ShowMessage(QStringLiteral("悪手です"));
        if (!self) return;
    }
    if (serial != actionSerial_) return; // a button chose another action meanwhile

    if (a == OneForward) {
        SetIdleButtons();
        a = Idle;
    }
    timerAction_ = a;
    SyncTimer();
}

void frmView::StepBackward() {
    int a = timerAction_;
    timerAction_ = Idle;
    if (!state_.StepBackward()) {
        SetIdleButtons();
        SetAction(Idle);
        return;
    }
    if (state_.gNowNth == 0) {
        SetIdleButtons();
        a = Idle;
    }
    DrawBoard();
    UpdateLabels();
    if (a == OneBackward) {
        SetIdleButtons();
        a = Idle;
    }
    timerAction_ = a;
    SyncTimer();
}

// ---- examining ----------------------------------------------------------------

void frmView::cmdExamine_Click() {
    if (state_.ExamineOn)
        EndExamine();
    else
        StartExamine();
}

void frmView::StartExamine() {
    if (state_.ExamineOn) return;
    // A running replay stops first, as the stop button does (also one whose
    // step is just playing its sound).
    SetAction(Idle);

    for (QRadioButton* opt : optRepresent)
        opt->setEnabled(false);
    cmdNextProb->setEnabled(false);
    cmdPrevProb->setEnabled(false);
    cmdExit->setEnabled(false);
    cmdExamine->setText(QStringLiteral("検討終了"));
    cmdExamine->setAccessibleName(cmdExamine->text());
    lblMouse->show();
    SetButtons(NoButtons());
    lblNowKekka->setEnabled(false);

    state_.StartExamine();
    DrawBoard();
    UpdateLabels();
}

void frmView::EndExamine() {
    if (!state_.ExamineOn) return;
    for (QRadioButton* opt : optRepresent)
        opt->setEnabled(true);
    cmdNextProb->setEnabled(true);
    cmdPrevProb->setEnabled(true);
    cmdExit->setEnabled(true);
    cmdExamine->setText(QStringLiteral("検討"));
    cmdExamine->setAccessibleName(cmdExamine->text());
    lblNowKekka->setEnabled(true);
    lblMouse->hide();

    state_.EndExamine();
    SetIdleButtons();
    DrawBoard();
    UpdateLabels();
}

void frmView::BoardPressed(int x, int y, int buttons) {
    // Only the examined board takes presses, and only on its drawn lines.
    if (!state_.ExamineOn || !IsShownPoint(picBoard->metrics(), x, y)) {
        Beep();
        return;
    }
    if (buttons & 1) {
        if (state_.ExamineMove(x, y) != ExamMoveResult::Played) {
            Beep();
            return;
        }
        DrawBoard();
        UpdateLabels();
        PlaySoundFile(QStringLiteral("stone.wav"), 0);
    } else if (buttons & 2) {
        if (state_.ExamineTakeBack()) {
            DrawBoard();
            UpdateLabels();
        }
    }
}

// ---- problems and leaving -----------------------------------------------------------

void frmView::StepProblem(int delta) {
    if (!sel_.Step(delta, sel_.mode == 3, LoadedProbCount(sel_.course))) {
        Beep();
        return;
    }
    ShowProblem();
}

void frmView::RememberProblem() {
    const int set = CourseDataSet(sel_.course);
    if (set < 0 || set >= int(gPlayerRecord.LastProb.size())) return;
    gPlayerRecord.LastProb[size_t(set)] = sel_.probNo;
    gPlayerRecord.LastCourse = sel_.course;
    SaveCurrentPlayerAsking(this);
}

void frmView::Leave(Role next) {
    BusyCursor busy;
    SetAction(Idle);
    leaving_ = true;
    sel_.Publish();
    if (!OpenWindow(next)) MyInitForm();
    close();
}

void frmView::cmdExit_Click() {
    if (sel_.mode == 3) {
        RememberProblem();
        Leave(Role::Picker);
    } else {
        Leave(Role::Review);
    }
}

void frmView::cmdModeChange_Click() {
    if (sel_.mode == 3) sel_.mode = 2;
    Leave(Role::Learn);
}

void frmView::closeEvent(QCloseEvent* event) {
    SetAction(Idle);
    if (!leaving_) {
        leaving_ = true;
        if (sel_.mode == 3) RememberProblem();
        MyInitForm();
        frmSource::Unload();
    }
    event->accept();
}
