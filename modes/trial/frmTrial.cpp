#include "frmTrial.h"

#include "board/boardview.h"
#include "library/courses.h"
#include "library/player.h"
#include "library/problem.h"
#include "library/session.h"
#include "platform/platform.h"
#include "rules/lesson.h"
#include "rules/outcome.h"
#include "shell/attempts.h"
#include "shell/controls.h"
#include "shell/keyboard.h"
#include "shell/router.h"
#include "shell/saveplayer.h"
#include "shell/windowlook.h"
#include "trialcalc.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

// During the verdict of a wrong answer or a time-out: the right first moves.
void MarkRightMoves(BoardView& board, const CurrentPosition& root, int problemResult) {
    for (const ChildInfo& c : BestChildren(root.children, problemResult))
        board.DrawColouredMark(c.x, c.y, 0, kRightMoveColour);
}

constexpr int kWindowW = 9600;
constexpr int kWindowH = 6450;

QFont Scaled(QFont font, double factor) {
    if (font.pixelSize() > 0)
        font.setPixelSize(static_cast<int>(font.pixelSize() * factor + 0.5));
    else
        font.setPointSizeF(font.pointSizeF() * factor);
    font.setBold(true);
    return font;
}

uint64_t ClockSeed() {
    return static_cast<uint64_t>(QDateTime::currentMSecsSinceEpoch());
}

} // namespace

frmTrial::frmTrial(std::optional<uint64_t> seed, QWidget* parent)
    : QWidget(parent), random_(seed.value_or(ClockSeed())) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmTrial"));
    setFixedSize(TwipsToPixels(kWindowW), TwipsToPixels(kWindowH));
    buildControls();

    // Loading the window.
    frmSource::Unload();
    if (gPlayerCount > 0) {
        QString error;
        if (!LoadPlayerFile(gCurPlayer, &error)) FatalError(error);
    }
    ApplyWindowLook(this, QStringLiteral("marble.bmp"), false);
    NeedCommentLists(this);
    total_ = 0;
    ClearAnswerSheet();

    course_ = static_cast<int16_t>((gCourse >= 0 && gCourse < kCourseCount) ? gCourse : 0);
    setWindowTitle(QStringLiteral("Velmora２ - トライアル - ") +
                   gCourses[static_cast<size_t>(course_)].Title);
    setQuestionNo(0);
    seconds_ = gPlayerRecord.ThinkTime;
    if (!setUpQuestion()) {
        // Not a single problem of this course can be asked: say so and go
        // back to the menu once the window is up.
        QMetaObject::invokeMethod(
            this,
            [this] {
                CurrentPlatform().messageBox(
                    QStringLiteral("このコースには出題できる問題がありません。"), this);
                MyInitForm();
                closeByCode();
            },
            Qt::QueuedConnection);
        return;
    }
    showCountdown();
    picBoard->DrawBoard(position_.board);
}

frmTrial::~frmTrial() {
    holdBusy(false);
}

void frmTrial::buildControls() {
    picBoard = new BoardView(BoardStyle{2, false}, this);
    picBoard->EnableKeyboard(true);
    NameControl(picBoard, QStringLiteral("picBoard"), QStringLiteral("碁盤"));
    picBoard->setGeometry(Twips(3600, 450, 5775, 5775));
    connect(picBoard, &BoardView::boardPressed, this,
            [this](int x, int y, int buttons) { picBoardMouseDown(x, y, buttons); });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Tick(); });

    Label1 = MakeLabel(this, QStringLiteral("Label1"), QStringLiteral("第Ｘ問"),
                       Twips(180, 180, 1500, 420));
    Label2 = MakeLabel(this, QStringLiteral("Label2"), QStringLiteral("番号"),
                       Twips(1800, 180, 1500, 420));
    Label3 = MakeLabel(this, QStringLiteral("Label3"), QStringLiteral("問題意図"),
                       Twips(180, 720, 3120, 360));
    Label4 = MakeLabel(this, QStringLiteral("Label4"), QStringLiteral("正解結果"),
                       Twips(180, 1140, 3120, 360));
    Label7 = MakeLabel(this, QStringLiteral("Label7"), QStringLiteral("問題レベル"),
                       Twips(180, 1560, 3120, 360));
    Label10 = MakeLabel(this, QStringLiteral("Label10"), QStringLiteral("現在得点"),
                        Twips(180, 2100, 1500, 360));
    Label13 = MakeLabel(this, QStringLiteral("Label13"), QStringLiteral("ＸＸＸＸ"),
                        Twips(1800, 2100, 1500, 360), Qt::AlignRight | Qt::AlignVCenter);
    Label6 = MakeLabel(this, QStringLiteral("Label6"), QStringLiteral("総得点"),
                       Twips(180, 2520, 1500, 360));
    Label11 = MakeLabel(this, QStringLiteral("Label11"), QStringLiteral("ＸＸＸＸ"),
                        Twips(1800, 2520, 1500, 360), Qt::AlignRight | Qt::AlignVCenter);
    lblTime = MakeLabel(this, QStringLiteral("lblTime"), QString(), Twips(180, 3000, 3120, 420),
                        Qt::AlignCenter);
    const QFont big = Scaled(lblTime->font(), 1.4);
    lblTime->setFont(big);
    Label1->setFont(big);

    // The progress of the ten questions: element 0 and a 5 x 2 grid of copies.
    const QRect cell = Twips(180, 3540, 600, 420);
    for (int i = 0; i < kTrialQuestions; ++i) {
        QRect r = cell;
        r.moveTo(cell.left() + (i % 5) * cell.width(), cell.top() + (i / 5) * cell.height());
        lblProbUsed[static_cast<size_t>(i)] =
            MakeLabel(this, QStringLiteral("lblProbUsed_%1").arg(i), QStringLiteral("？"), r,
                      Qt::AlignCenter);
        lblProbUsed[static_cast<size_t>(i)]->setFont(big);
    }

    lblComment = MakeLabel(this, QStringLiteral("lblComment"), QStringLiteral("Label6"),
                           Twips(180, 4500, 3120, 1080), Qt::AlignLeft | Qt::AlignTop);
    lblComment->setWordWrap(true);

    Command1 = new QPushButton(QStringLiteral("終了"), this);
    NameControl(Command1, QStringLiteral("Command1"), QStringLiteral("終了"));
    Command1->setGeometry(Twips(180, 5760, 1500, 480));
    connect(Command1, &QPushButton::clicked, this, [this] { Command1Click(); });
    SetKeyboardButtons(this, Command1);

    // The verdict is shown over the lower half of the board, away from the
    // corner where the problems sit.
    Label12 = MakeLabel(this, QStringLiteral("Label12"), QStringLiteral("Label12"),
                        Twips(4350, 4650, 4275, 900), Qt::AlignCenter);
    Label12->setFont(Scaled(Label12->font(), 2.0));
    SetBackground(Label12, QColor(255, 255, 128));
    Label12->setFrameStyle(QFrame::Box | QFrame::Plain);
    Label12->hide();
}

bool frmTrial::setUpQuestion() {
    const DrawScope scope = DrawScopeFor(course_, questionNo_);
    const int p = DrawQuestion(scope, gPlayerRecord.MakeQ, random_.next());
    if (p < 0) return false;
    probNo_ = static_cast<int16_t>(p);
    gProbNo = probNo_;
    marks_.emplace_back(scope.base + p, false);
    answered_ = false;
    answerResult_ = -1;

    QString error;
    if (!LoadProblem(course_, probNo_, problem_, &error)) FatalError(error);

    const ProbStat& stat = gPlayerRecord.Stat[static_cast<size_t>(scope.base + p)];
    const TrialLevel level = TrialLevelOf(stat.Level);
    basePoints_ = level.basePoints;
    SetCaption(Label7, level.text);

    SetCaption(Label11, QString::number(total_));
    SetCaption(Label2, QStringLiteral("#") + QString::number(probNo_ + 1));
    SetCaption(Label1,
               QStringLiteral("第") + QString::number(questionNo_ + 1) + QStringLiteral("問"));

    SetCaption(Label3, ProblemStatement(problem_.ProbPurpose, 0));
    const QString comment = ProbComment(course_, probNo_);
    SetCaption(lblComment, comment.isEmpty() ? ProblemStatement(problem_.ProbPurpose, 1) : comment);

    AnswerEntry& entry = gAnswerSheet[static_cast<size_t>(questionNo_)];
    entry.StartBoard = problem_.gInitBoard;
    entry.BoardLines = problem_.ViewSize;

    CalcAllResults(problem_);
    position_ = SetUpNode(problem_, kRoot);
    problemResult_ = position_.result;
    SetCaption(Label4, QStringLiteral("黒先") + OutcomeText(0, problemResult_));

    mode_ = Answering;
    Timer1->setInterval(1000);
    Timer1->start();

    picBoard->InitBoardMetrics(std::clamp<int>(problem_.ViewSize, 1, kBoardSize));
    refreshProgress(0);
    return true;
}

void frmTrial::showCountdown() {
    points_ = TrialPoints(basePoints_, gPlayerRecord.ThinkTime, seconds_);
    const QString sound = CountdownSound(seconds_);
    if (!sound.isEmpty()) PlaySoundFile(sound, 1);
    SetCaption(lblTime, TimeText(seconds_));
    SetCaption(Label13, QString::number(points_));
    SetCaption(Label11, QString::number(total_));
}

void frmTrial::showVerdict(const QString& text) {
    SetCaption(Label12, text);
    Label12->show();
    Label12->raise();
    mode_ = Message;
    Timer1->setInterval(1000);
    seconds_ = 3;
}

void frmTrial::endVerdict() {
    Label12->hide();
    if (answered_) {
        mode_ = Transfer;
        Timer1->setInterval(100);
    } else {
        mode_ = Idle;
        Timer1->stop();
        nextQuestion();
    }
}

void frmTrial::Timer1Tick() {
    if (ended_) return;
    switch (mode_) {
    case Answering:
        --seconds_;
        showCountdown();
        if (seconds_ < 1) {
            showVerdict(QStringLiteral("時間切れです"));
            points_ = 0;
            MarkRightMoves(*picBoard, position_, problemResult_);
            RecordAndTell(CurrentAttempt(AttemptMode::Trial, course_, probNo_, -1, -1, -1,
                                         problemResult_, false, gPlayerRecord.ThinkTime),
                          this);
        }
        break;
    case Message:
        --seconds_;
        if (seconds_ <= 0) endVerdict();
        break;
    case Transfer: {
        const int step = TransferStep(transfer_);
        if (step == 0) {
            mode_ = Idle;
            Timer1->stop();
            nextQuestion();
            break;
        }
        transfer_ -= step;
        total_ += step;
        SetCaption(Label11, QString::number(total_));
        SetCaption(Label13, QString::number(transfer_));
        break;
    }
    default:
        break;
    }
}

void frmTrial::picBoardMouseDown(int x, int y, int buttons) {
    // While a verdict is shown or the points are moved, the board takes no presses.
    if (ended_ || mode_ != Answering || (buttons & 1) == 0) return;
    if (!IsShownPoint(picBoard->metrics(), x, y)) {
        Beep();
        return;
    }
    if (!PlayMove(kBlack, x, y, position_.board, false)) {
        Beep();
        return;
    }
    AnswerEntry& entry = gAnswerSheet[static_cast<size_t>(questionNo_)];
    entry.AnswerX = static_cast<int16_t>(x);
    entry.AnswerY = static_cast<int16_t>(y);

    const int i = FindChildByMove(x, y, position_.children);
    if (i < 0) {
        answerResult_ = -1;
        showVerdict(QStringLiteral("不正解です"));
        points_ = 0;
    } else {
        answerResult_ = position_.children[static_cast<size_t>(i)].result;
        if (TrialAnswerIsCorrect(answerResult_, problemResult_)) {
            const int index = GlobalProbIndex(course_, probNo_);
            if (index >= 0 && index < kMaxProblemsTotal)
                gPlayerRecord.Stat[static_cast<size_t>(index)].Correct = 1;
            if (!marks_.empty()) marks_.back().second = true;
            showVerdict(QStringLiteral("正解です"));
        } else {
            SetCaption(Label13, QStringLiteral("0"));
            showVerdict(QStringLiteral("不正解です"));
            points_ = 0;
        }
    }

    PlaySoundFile(QStringLiteral("stone.wav"), 1);
    PlayMove(kBlack, x, y, position_.board, true);
    picBoard->DrawBoard(position_.board);
    if (!TrialAnswerIsCorrect(answerResult_, problemResult_))
        MarkRightMoves(*picBoard, position_, problemResult_);

    answered_ = true;
    transfer_ = points_;
    entry.Points = static_cast<int16_t>(points_);
    refreshProgress(1);
    holdBusy(true);
    RecordAndTell(CurrentAttempt(AttemptMode::Trial, course_, probNo_, x, y, answerResult_,
                                 problemResult_,
                                 TrialAnswerIsCorrect(answerResult_, problemResult_),
                                 gPlayerRecord.ThinkTime - seconds_),
                  this);
}

void frmTrial::nextQuestion() {
    setQuestionNo(questionNo_ + 1);
    if (questionNo_ < kTrialQuestions) {
        BusyCursor busy;
        if (!setUpQuestion()) {
            // The course has no problem left that this trial has not asked:
            // the trial ends with the questions asked so far.
            holdBusy(false);
            endTrial();
            return;
        }
        seconds_ = gPlayerRecord.ThinkTime;
        showCountdown();
        picBoard->DrawBoard(position_.board);
        holdBusy(false);
        return;
    }
    Timer1->stop();
    Timer1->setInterval(0);
    holdBusy(false);
    endTrial();
}

void frmTrial::Command1Click() {
    if (ended_) return;
    endTrial();
}

void frmTrial::endTrial() {
    if (ended_) return;
    ended_ = true;
    mode_ = Idle;
    Timer1->stop();
    BusyCursor busy;
    // The road goes on with this trial's course and sheet.
    gCourse = course_;
    gQuestionNo = questionNo_;
    if (gPlayerCount > 0) {
        markAnswers();
        SaveCurrentPlayerAsking(this);
    }
    OpenWindow(Role::HiScore);
    closeByCode();
}

void frmTrial::setQuestionNo(int n) {
    questionNo_ = static_cast<int16_t>(n);
    gQuestionNo = questionNo_;
}

// The asked and correct flags of this trial's questions, entered again into
// the record about to be saved, whatever was read into it meanwhile.
void frmTrial::markAnswers() {
    for (const auto& [index, correct] : marks_) {
        if (index < 0 || index >= kMaxProblemsTotal) continue;
        ProbStat& stat = gPlayerRecord.Stat[static_cast<size_t>(index)];
        stat.Asked = 1;
        if (correct) stat.Correct = 1;
    }
}

void frmTrial::refreshProgress(int extra) {
    const int n = questionNo_ + extra;
    for (int i = 0; i < kTrialQuestions; ++i) {
        QLabel* l = lblProbUsed[static_cast<size_t>(i)];
        if (i < n) {
            SetBackground(l, QColor(255, 255, 128));
            SetCaption(l, gAnswerSheet[static_cast<size_t>(i)].Points != 0 ? QStringLiteral("○")
                                                                           : QStringLiteral("×"));
        } else {
            SetBackground(l, QColor(255, 128, 255));
            SetCaption(l, QStringLiteral("？"));
        }
        l->setFrameStyle(i == questionNo_ ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
        l->setLineWidth(1);
    }
}

void frmTrial::holdBusy(bool on) {
    if (on == busy_) return;
    busy_ = on;
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void frmTrial::closeByCode() {
    closingByCode_ = true;
    close();
}

void frmTrial::closeEvent(QCloseEvent* event) {
    Timer1->stop();
    ended_ = true;
    holdBusy(false);
    if (!closingByCode_) {
        // Closed from the frame: back to the menu; the trial is not saved.
        MyInitForm();
        frmSource::Unload();
    }
    event->accept();
}
