#include "frmlearn.h"

#include "learnlesson.h"

#include "board/boardview.h"
#include "library/courses.h"
#include "library/player.h"
#include "library/problem.h"
#include "library/session.h"
#include "platform/platform.h"
#include "rules/outcome.h"
#include "shell/keptcontrols.h"
#include "shell/keyboard.h"
#include "shell/message.h"
#include "shell/router.h"
#include "shell/saveplayer.h"
#include "shell/windowlook.h"

#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "library/files.h"

using namespace learn;

namespace {

constexpr int kReplyDelayMs = 1000;

const QString kNoLines = QStringLiteral("この問題には手順が登録されていません。");
const QString kNoProblem = QStringLiteral("この問題はありません。");

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w,
                  int h) {
    auto* l = new TextLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(x, y, w, h);
    return l;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& accessible, int x, int y, int w, int h) {
    auto* b = new TextButton(caption, parent);
    NameControl(b, QString::fromLatin1(name), accessible);
    b->setGeometry(x, y, w, h);
    return b;
}

} // namespace

// Counts the work in progress (a move with its sound and message, the hint)
// for as long as it runs; the window may be gone when it ends.
class LearnBusyScope {
public:
    explicit LearnBusyScope(frmLearn* w, int& counter) : w_(w), counter_(counter) { ++counter_; }
    ~LearnBusyScope() {
        if (w_) --counter_;
    }
    LearnBusyScope(const LearnBusyScope&) = delete;
    LearnBusyScope& operator=(const LearnBusyScope&) = delete;

private:
    QPointer<frmLearn> w_;
    int& counter_;
};

frmLearn::frmLearn(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmLearn"));
    setWindowTitle(QStringLiteral("学習"));
    setFixedSize(635, 429);
    sel_ = SelectionSnapshot::Take();

    // The board and stone bitmaps are read again at the first drawing.
    frmSource::Unload();
    BuildControls();
    SetPicture(cmdShowNext, QStringLiteral("quest000.bmp"));

    QString error;
    if (!LoadPlayerFile(gCurPlayer, &error)) FatalError(error);
    ApplyWindowLook(this, QStringLiteral("marble.bmp"), false);
    NeedCommentLists(this);

    ShowProblem();
}

frmLearn::~frmLearn() = default;

void frmLearn::BuildControls() {
    picBoard = new BoardView(BoardStyle{1, false}, this);
    picBoard->EnableKeyboard(true);
    NameControl(picBoard, QStringLiteral("picBoard"), QStringLiteral("碁盤"));
    picBoard->setGeometry(242, 38, 385, 385);
    connect(picBoard, &BoardView::boardPressed, this,
            [this](int x, int y, int buttons) { picBoard_MouseDown(x, y, buttons); });

    lblMouse = MakeLabel(this, "lblMouse", QStringLiteral("左…着手 右…戻り"), 402, 4, 171, 25);

    cmdShowNext = MakeButton(this, "cmdShowNext", QString(),
                             QStringLiteral("ヒント（次の手の候補）"), 148, 248, 41, 29);
    cmdPrev = MakeButton(this, "cmdPrev", QString(), QStringLiteral("一手戻る"), 92, 248, 41, 29);
    cmdRew = MakeButton(this, "cmdRew", QString(), QStringLiteral("最初に戻る"), 36, 248, 41, 29);
    cmdNextProb = MakeButton(this, "cmdNextProb", QStringLiteral("次問"), QStringLiteral("次問"),
                             52, 304, 125, 29);
    cmdPrevProb = MakeButton(this, "cmdPrevProb", QStringLiteral("前問"), QStringLiteral("前問"),
                             52, 348, 125, 29);
    cmdExit = MakeButton(this, "cmdExit", QStringLiteral("終了"), QStringLiteral("終了"), 52, 392,
                         125, 29);
    cmdModeChange = MakeButton(this, "cmdModeChange", QStringLiteral("鑑賞"),
                               QStringLiteral("鑑賞"), 578, 4, 55, 25);

    lblNext = MakeLabel(this, "lblNext", QStringLiteral("次の手"), 4, 192, 57, 19);
    lblQNth = MakeLabel(this, "lblQNth", QStringLiteral("第ＸＸ問"), 242, 4, 89, 25);
    lblProb = MakeLabel(this, "lblProb", QStringLiteral("#XXXX"), 334, 4, 65, 25);
    lblProbKekka = MakeLabel(this, "lblProbKekka", QStringLiteral("黒先白死"), 4, 160, 233, 21);
    lblComment =
        MakeLabel(this, "lblComment", QStringLiteral("黒先で白を殺してください"), 4, 24, 233, 109);
    lblComment->setWordWrap(true);
    lblComment->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblNth = MakeLabel(this, "lblNth", QStringLiteral("ＸＸＸ手"), 108, 192, 85, 21);
    lblTeban = MakeLabel(this, "lblTeban", QStringLiteral("Ｘ番"), 64, 192, 40, 21);
    for (QLabel* l : {lblQNth, lblProb, lblMouse})
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });

    connect(cmdShowNext, &QPushButton::clicked, this, [this] { cmdShowNext_Click(); });
    connect(cmdPrev, &QPushButton::clicked, this, [this] { cmdPrev_Click(); });
    connect(cmdRew, &QPushButton::clicked, this, [this] { cmdRew_Click(); });
    connect(cmdPrevProb, &QPushButton::clicked, this, [this] { cmdPrevProb_Click(); });
    connect(cmdNextProb, &QPushButton::clicked, this, [this] { cmdNextProb_Click(); });
    connect(cmdModeChange, &QPushButton::clicked, this, [this] { cmdModeChange_Click(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    SetKeyboardButtons(this, cmdExit, nullptr, {{Qt::Key_Left, cmdPrev}, {Qt::Key_Home, cmdRew}});
}

QString frmLearn::PictureOf(const QPushButton* button) {
    return button ? button->property("picture").toString() : QString();
}

void frmLearn::SetPicture(QPushButton* button, const QString& file) {
    if (PictureOf(button) == file) return; // showing it already
    // The same picture in every state: the disabled look is a picture of its
    // own. Read once per opening of the window, at the screen's density.
    const QPixmap& pm = frmSource::ButtonPicture(file, devicePixelRatioF());
    QIcon icon;
    icon.addPixmap(pm, QIcon::Normal);
    icon.addPixmap(pm, QIcon::Disabled);
    button->setIcon(icon);
    if (!pm.isNull())
        button->setIconSize(pm.deviceIndependentSize().toSize().boundedTo(button->size()));
    button->setProperty("picture", file);
}

void frmLearn::StartTimer() {
    Timer1->setInterval(kReplyDelayMs);
    Timer1->start(); // restarts a running timer, so the tick comes a second from now
}

void frmLearn::ShowProblem() {
    state_.timerAction = kTimerIdle;
    BusyCursor busy;

    if (sel_.mode == 2) {
        lblQNth->hide();
    } else {
        sel_.FollowQuestion();
        lblQNth->setText(QuestionCaption(sel_.questionNo));
        lblQNth->show();
    }
    // The current selection follows what this window shows; the window itself
    // never reads it back.
    gProbNo = sel_.probNo;
    gQuestionNo = sel_.questionNo;

    if (sel_.probNo < 0 || sel_.probNo >= LoadedProbCount(sel_.course)) {
        lblProb->clear();
        ShowNoProblem(kNoProblem);
        return;
    }
    lblProb->setText(ProblemCaption(sel_.probNo));

    QString error;
    if (!LoadProblem(sel_.course, sel_.probNo, problem_, &error)) FatalError(error);
    loaded_ = true;
    const int lines = (problem_.ViewSize >= 1 && problem_.ViewSize <= kBoardSize)
                          ? problem_.ViewSize
                          : kBoardSize;
    picBoard->InitBoardMetrics(lines);
    CalcAllResults(problem_);
    LearnReset(problem_, state_);
    StartAttemptClock();
    UpdateLabels();
    DrawBoard();
}

void frmLearn::ShowNoProblem(const QString& why) {
    loaded_ = false;
    state_.history.clear();
    state_.pos = CurrentPosition{};
    state_.v0 = -1;
    picBoard->InitBoardMetrics(kBoardSize);
    UpdateLabels();
    lblComment->setText(why);
    DrawBoard();
}

void frmLearn::ResetToStart() {
    if (!loaded_) return;
    LearnReset(problem_, state_);
    UpdateLabels();
    DrawBoard();
}

void frmLearn::UpdateLabels() {
    lblProbKekka->setText(loaded_ ? TaskCaption(state_.v0) : QString());
    lblNth->setText(MoveNumberCaption(state_.pos.gNowNth));
    lblTeban->setText(SideCaption(state_.pos.gNowNth));
    if (!loaded_) return;
    if (!state_.settled()) {
        lblComment->setText(
            PlayingComment(ProbComment(sel_.course, sel_.probNo), problem_.ProbPurpose));
        return;
    }
    // A problem without stored lines is settled at its start and has nothing to grade.
    lblComment->setText(state_.v0 < 0 ? kNoLines : SettledVerdict(problem_, state_));
    cmdNextProb->setFocus();
}

void frmLearn::DrawBoard() {
    picBoard->DrawBoard(state_.pos.board);
    if (loaded_) DrawLesson(*picBoard, SettledLesson(problem_, state_));
    const BackButtonLook look = BackButtons(state_.historyDepth());
    SetPicture(cmdPrev, look.prevPicture);
    SetPicture(cmdRew, look.rewPicture);
    cmdPrev->setEnabled(look.enabled);
    cmdRew->setEnabled(look.enabled);
}

void frmLearn::PlayCandidate(int i) {
    QPointer<frmLearn> self(this);
    LearnBusyScope scope(this, busy_);
    int16_t before = -1;
    if (!LearnAdvance(problem_, state_, i, &before)) return;
    UpdateLabels();
    DrawBoard();
    PlaySoundFile(QStringLiteral("stone.wav"), 0);
    if (!self) return;
    if (IsBadMove(before, state_.pos.result)) ShowMessage(QStringLiteral("悪手です"));
    if (self && state_.settled())
        RecordSettledLine(problem_, state_, sel_.course, sel_.probNo, this);
}

void frmLearn::StepBack() {
    if (!LearnRetreat(problem_, state_)) return;
    UpdateLabels();
    DrawBoard();
}

void frmLearn::Timer1_Timer() {
    // A tick that comes while a reply (its sound or its message) or the hint
    // is still in progress starts nothing; the next tick finds the state settled.
    if (busy_ > 0) return;
    switch (state_.timerAction) {
    case kTimerReply:
        state_.timerAction = kTimerIdle;
        if (loaded_ && !state_.settled()) PlayCandidate(0);
        break;
    case kTimerStepBack:
        if (state_.pos.side == kBlack)
            state_.timerAction = kTimerIdle;
        else
            StepBack();
        break;
    default:
        break;
    }
}

void frmLearn::picBoard_MouseDown(int x, int y, int buttons) {
    if (busy_ > 0) return;
    // A settled line takes no presses, nor does the board while the system's
    // reply or a step back is still to come: a press then would be played for
    // White.
    if (!loaded_ || state_.settled() || state_.timerAction != kTimerIdle) return;
    if (!IsShownPoint(picBoard->metrics(), x, y)) {
        Beep();
        return;
    }
    if (buttons & 1) {
        if (!PlayMove(state_.pos.side, x, y, state_.pos.board, false)) {
            Beep();
            return;
        }
        const int i = FindChildByMove(x, y, state_.pos.children);
        if (i < 0) {
            LearnBusyScope scope(this, busy_);
            Beep();
            ShowMessage(QStringLiteral("候補にありません"));
            return;
        }
        QPointer<frmLearn> self(this);
        PlayCandidate(i);
        if (!self) return;
        state_.timerAction = kTimerReply;
        StartTimer();
    } else if (buttons & 2) {
        if (state_.historyDepth() > 0) cmdPrev_Click();
    }
}

void frmLearn::cmdPrev_Click() {
    if (busy_ > 0) return;
    if (state_.historyDepth() == 0) {
        Beep();
        return;
    }
    StepBack();
    // With White to move the system's reply was taken back: Black's move
    // follows a second later. With Black to move a pending reply was
    // cancelled and nothing is left to do.
    if (state_.pos.side == kBlack) {
        state_.timerAction = kTimerIdle;
        return;
    }
    state_.timerAction = kTimerStepBack;
    StartTimer();
}

void frmLearn::cmdRew_Click() {
    if (busy_ > 0) return;
    // A reply still due would otherwise be played for Black at the start position.
    state_.timerAction = kTimerIdle;
    ResetToStart();
}

void frmLearn::cmdShowNext_Click() {
    if (busy_ > 0) return;
    // On a line settled below the best result the hint goes back to the move
    // that lost it and shows the candidates there.
    const TurningPoint lesson = loaded_ ? SettledLesson(problem_, state_) : TurningPoint{};
    if (lesson.found && LearnStepBackTo(problem_, state_, lesson.index)) {
        UpdateLabels();
        DrawBoard();
    }
    if (!loaded_ || state_.pos.side == kWhite || state_.settled()) {
        Beep();
        return;
    }
    QPointer<frmLearn> self(this);
    LearnBusyScope scope(this, busy_);
    SetPicture(cmdShowNext, QStringLiteral("quest001.bmp"));
    ShowCandidates();
    ShowMessage(QStringLiteral("次の手の候補です"));
    if (!self) return;
    DrawBoard();
    SetPicture(cmdShowNext, QStringLiteral("quest000.bmp"));
}

void frmLearn::ShowCandidates() {
    const std::vector<int> kinds = CandidateKinds(state_.pos.children, state_.pos.result);
    for (size_t i = 0; i < kinds.size(); ++i) {
        const ChildInfo& c = state_.pos.children[i];
        picBoard->DrawCandidateMark(c.x, c.y, kinds[i]);
    }
}

void frmLearn::cmdNextProb_Click() {
    if (busy_ > 0) return;
    if (!sel_.Step(+1, sel_.mode == 2, LoadedProbCount(sel_.course))) return Beep();
    ShowProblem();
}

void frmLearn::cmdPrevProb_Click() {
    if (busy_ > 0) return;
    if (!sel_.Step(-1, sel_.mode == 2, LoadedProbCount(sel_.course))) return Beep();
    ShowProblem();
}

void frmLearn::RememberProblem() {
    if (sel_.mode != 2) return;
    if (sel_.probNo < 0 || sel_.probNo >= LoadedProbCount(sel_.course)) return;
    const int set = CourseDataSet(sel_.course);
    gPlayerRecord.LastProb[static_cast<size_t>(set)] = sel_.probNo;
    gPlayerRecord.LastCourse = sel_.course;
    SaveCurrentPlayerAsking(this);
}

void frmLearn::cmdExit_Click() {
    if (busy_ > 0) return;
    BusyCursor busy;
    leaving_ = true;
    Timer1->stop();
    sel_.Publish();
    if (sel_.mode == 2) {
        RememberProblem();
        OpenWindow(Role::Picker);
    } else {
        OpenWindow(Role::Review);
    }
    close();
}

void frmLearn::cmdModeChange_Click() {
    if (busy_ > 0) return;
    if (sel_.mode == 2) sel_.mode = 3;
    BusyCursor busy;
    leaving_ = true;
    Timer1->stop();
    sel_.Publish();
    OpenWindow(Role::View);
    close();
}

void frmLearn::closeEvent(QCloseEvent* event) {
    Timer1->stop();
    // cmdExit has remembered the problem already; cmdModeChange leaves it to the view window.
    if (!leaving_ && sel_.mode == 2) RememberProblem();
    if (!leaving_) {
        MyInitForm();
        frmSource::Unload();
    }
    event->accept();
}
