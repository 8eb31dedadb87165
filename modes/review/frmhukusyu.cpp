#include "frmhukusyu.h"

#include "library/player.h"
#include "library/session.h"
#include "platform/platform.h"
#include "reviewlogic.h"
#include "shell/keyboard.h"
#include "rules/lesson.h"
#include "shell/router.h"
#include "shell/windowlook.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QColor kNothingScored(255, 255, 128);
const QColor kMarkColour(0, 0, 0);
constexpr QPoint kFirstQuestion(8, 40);

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& text, QRect geometry) {
    auto* button = new QPushButton(text, parent);
    NameControl(button, name, text);
    button->setGeometry(geometry);
    return button;
}

} // namespace

// ---- the board with the answer mark ---------------------------------------------

ReviewBoard::ReviewBoard(QWidget* parent) : BoardView(BoardStyle{0, false}, parent) {}

void ReviewBoard::SetMark(const QString& mark, QPoint place, double pointSize) {
    mark_ = mark;
    place_ = place;
    pointSize_ = pointSize;
    update();
}

void ReviewBoard::SetRightMarks(const QList<QPoint>& places) {
    right_ = places;
    update();
}

void ReviewBoard::paintEvent(QPaintEvent* event) {
    BoardView::paintEvent(event);
    if (mark_.isEmpty() && right_.isEmpty()) return;
    QPainter p(this);
    // The drawing area sits inside an even frame.
    const QSize inner = innerSize();
    const QPoint origin((width() - inner.width()) / 2, (height() - inner.height()) / 2);
    p.setClipRect(QRect(origin, inner));
    QFont font = p.font();
    font.setPointSizeF(pointSize_);
    p.setFont(font);
    p.setPen(kRightMoveColour);
    for (const QPoint& place : right_)
        p.drawText(QRect(origin + place, inner), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("○"));
    p.setPen(kMarkColour);
    p.drawText(QRect(origin + place_, QSize(inner.width(), inner.height())),
               Qt::AlignLeft | Qt::AlignTop, mark_);
}

// ---- the window -------------------------------------------------------------------

frmHukusyu::frmHukusyu(QWidget* parent) : QWidget(parent), course_(gCourse), sheet_(gAnswerSheet) {
    setWindowTitle(QStringLiteral("復習"));
    setObjectName(QStringLiteral("frmHukusyu"));
    setFixedSize(635, 451); // room for the legend under the board
    BuildControls();

    frmSource::Unload();
    const int previousCount = gReviewCount;
    QString error;
    if (!LoadPlayerFile(gCurPlayer, &error)) FatalError(error);
    ApplyWindowLook(this, QStringLiteral("marble.bmp"), false);
    ListQuestions();

    const int first = OpeningQuestion(gQuestionNo, previousCount, gReviewCount);
    if (gReviewCount > 0) {
        SelectQuestion(first);
    } else {
        // A trial without a single question asked: nothing to study.
        gQuestionNo = 0;
        cmdReStudy->setEnabled(false);
        cmdReView->setEnabled(false);
        lblQuestion->clear();
        picBoard->InitBoardMetrics(19);
        picBoard->DrawBoard(Board{});
    }
}

frmHukusyu::~frmHukusyu() = default;

void frmHukusyu::BuildControls() {
    lblDoing = new QLabel(QStringLiteral("復習する問題を選んでください"), this);
    NameControl(lblDoing, QStringLiteral("lblDoing"), lblDoing->text());
    lblDoing->setGeometry(8, 8, 225, 25);

    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    for (int i = 0; i < int(optQuestion.size()); ++i) {
        auto* opt = new QRadioButton(ReviewQuestionCaption(i), this);
        NameControl(
            opt, i == 0 ? QStringLiteral("optQuestion") : QStringLiteral("optQuestion_%1").arg(i),
            opt->text());
        opt->setGeometry(QRect(QuestionPlace(kFirstQuestion, i), QSize(105, 36)));
        opt->setAutoFillBackground(true);
        opt->setBackgroundRole(QPalette::Window);
        opt->hide();
        group->addButton(opt, i);
        connect(opt, &QRadioButton::clicked, this, [this, i] { SelectQuestion(i); });
        optQuestion[size_t(i)] = opt;
    }

    lblQuestion = new QLabel(QStringLiteral("#1000"), this);
    NameControl(lblQuestion, QStringLiteral("lblQuestion"), lblQuestion->text());
    lblQuestion->setGeometry(242, 4, 89, 25);

    picBoard = new ReviewBoard(this);
    NameControl(picBoard, QStringLiteral("picBoard"), QStringLiteral("碁盤"));
    picBoard->setGeometry(242, 38, 385, 385);

    lblLegend = new QLabel(QStringLiteral("×＝あなたの解答　○＝正解"), this);
    NameControl(lblLegend, QStringLiteral("lblLegend"), lblLegend->text());
    lblLegend->setGeometry(242, 425, 385, 22);
    lblLegend->setAlignment(Qt::AlignCenter);
    lblLegend->hide();

    cmdReStudy =
        MakeButton(this, QStringLiteral("cmdReStudy"), QStringLiteral("学習"), {8, 300, 105, 29});
    cmdReView =
        MakeButton(this, QStringLiteral("cmdReView"), QStringLiteral("鑑賞"), {128, 300, 105, 29});
    cmdRetry =
        MakeButton(this, QStringLiteral("cmdRetry"), QStringLiteral("次問"), {8, 352, 105, 29});
    cmdExit =
        MakeButton(this, QStringLiteral("cmdExit"), QStringLiteral("終了"), {128, 352, 105, 29});
    connect(cmdReStudy, &QPushButton::clicked, this, [this] { Leave(Role::Learn); });
    connect(cmdReView, &QPushButton::clicked, this, [this] { Leave(Role::View); });
    connect(cmdRetry, &QPushButton::clicked, this, [this] { Leave(Role::Trial); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    SetKeyboardButtons(this, cmdExit);
}

void frmHukusyu::ListQuestions() {
    gReviewCount = int16_t(CountReviewQuestions(sheet_));
    const QColor face = palette().color(QPalette::Button);
    for (int i = 0; i < int(optQuestion.size()); ++i) {
        QRadioButton* opt = optQuestion[size_t(i)];
        if (i >= gReviewCount) {
            opt->hide();
            continue;
        }
        const bool nothing = QuestionHighlighted(sheet_[size_t(i)]);
        QPalette pal = opt->palette();
        pal.setColor(QPalette::Window, nothing ? kNothingScored : face);
        opt->setPalette(pal);
        opt->setProperty("highlighted", nothing);
        opt->show();
    }
}

void frmHukusyu::SelectQuestion(int i) {
    if (i < 0 || i >= gReviewCount) {
        Beep();
        return;
    }
    const AnswerEntry& entry = sheet_[size_t(i)];
    gProbNo = entry.ProbNo;
    optQuestion[size_t(i)]->setChecked(true);
    lblQuestion->setText(QStringLiteral("#") + QString::number(gProbNo + 1));
    lblQuestion->setAccessibleName(lblQuestion->text());

    const int lines = entry.BoardLines >= 1 && entry.BoardLines <= 19 ? entry.BoardLines : 19;
    picBoard->InitBoardMetrics(lines);
    picBoard->DrawBoard(entry.StartBoard);
    const BoardMetrics& m = picBoard->metrics();
    const QString mark =
        entry.AnswerX >= 0 && entry.AnswerX < 19 && entry.AnswerY >= 0 && entry.AnswerY < 19
            ? AnswerMark(entry)
            : QString();
    picBoard->SetMark(
        mark,
        AnswerMarkPlace(m.gBoardW, m.gBoardH, lines, m.gStoneSize, entry.AnswerX, entry.AnswerY),
        AnswerMarkPointSize(m.gStoneSize));
    ShowRightMoves(entry, lines);
    picBoard->setAccessibleDescription(mark.isEmpty() ? QStringLiteral("解答なし")
                                                      : QStringLiteral("解答の印 ") + mark);
    gQuestionNo = int16_t(i);
}

void frmHukusyu::ShowRightMoves(const AnswerEntry& entry, int lines) {
    // Only beside an answer that scored nothing: the right first moves the
    // player did not play.
    QList<QPoint> places;
    if (entry.Points == 0) {
        const BoardMetrics& m = picBoard->metrics();
        for (const ChildInfo& c : RightFirstMoves(course_, entry.ProbNo)) {
            if (c.x == entry.AnswerX && c.y == entry.AnswerY) continue;
            places.append(AnswerMarkPlace(m.gBoardW, m.gBoardH, lines, m.gStoneSize, c.x, c.y));
        }
    }
    picBoard->SetRightMarks(places);
    lblLegend->setVisible(!places.isEmpty());
}

void frmHukusyu::Leave(Role next) {
    BusyCursor busy;
    leaving_ = true;
    // The next window works on this trial: its course, sheet and question.
    gMode = 1;
    gCourse = course_;
    gAnswerSheet = sheet_;
    gReviewCount = int16_t(CountReviewQuestions(sheet_));
    if (!OpenWindow(next)) MyInitForm();
    close();
}

void frmHukusyu::cmdExit_Click() {
    BusyCursor busy;
    leaving_ = true;
    MyInitForm();
    close();
}

void frmHukusyu::closeEvent(QCloseEvent* event) {
    if (!leaving_) {
        leaving_ = true;
        MyInitForm();
        frmSource::Unload();
    }
    event->accept();
}
