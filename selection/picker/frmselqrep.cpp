#include "frmselqrep.h"

#include "board/boardview.h"
#include "history/schedule.h"
#include "library/courses.h"
#include "library/player.h"
#include "library/problem.h"
#include "library/session.h"
#include "platform/platform.h"
#include "shell/accessibility.h"
#include "shell/keyboard.h"
#include "shell/router.h"
#include "shell/saveplayer.h"
#include "shell/windowlook.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>
#include <map>

using namespace picker;

namespace {

constexpr int kLabelHeight = 16;
constexpr int kLevelBoxWidth = 12;
constexpr int kFocusThickness = 2;

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& r) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(r);
    return l;
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& accessible, const QRect& r) {
    auto* b = new QPushButton(caption, parent);
    NameControl(b, name, accessible);
    b->setGeometry(r);
    return b;
}

// The legend's word for a level code, read out for the level box.
QString LevelName(int level) {
    if (level == 30) return QStringLiteral("難");
    if (level == 20) return QStringLiteral("中");
    return QStringLiteral("易");
}

void Fill(QWidget* w, const QColor& colour) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

// The widget rectangle that draws one focus line with the frame's thickness.
QRect LineRect(const QLine& line) {
    const int x0 = qMin(line.x1(), line.x2());
    const int y0 = qMin(line.y1(), line.y2());
    const int w = qAbs(line.x2() - line.x1());
    const int h = qAbs(line.y2() - line.y1());
    if (w == 0) return QRect(x0 - kFocusThickness / 2, y0, kFocusThickness, h + 1);
    return QRect(x0, y0 - kFocusThickness / 2, w + 1, kFocusThickness);
}

// Every problem of the current course, whatever the pages show.
int CourseProblems() {
    if (gCourse < 0 || gCourse >= kCourseCount) return 0;
    return qMax<int>(0, gCourses[static_cast<size_t>(gCourse)].ProbCount);
}

} // namespace

frmSelQRep::frmSelQRep(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmSelQRep"));
    setWindowTitle(QStringLiteral("問題選択"));
    setFixedSize(800, 470);

    frmSource::Unload();
    QString error;
    if (!LoadPlayerFile(gCurPlayer, &error)) FatalError(error);
    gCourse = gPlayerRecord.LastCourse;
    // Only the three volumes are offered here; anything else opens the main collection.
    if (VolumeForCourse(gCourse) < 0) gCourse = 0;
    ApplyWindowLook(this, QString(), false);
    BuildControls();
    lblDoing->setText(gMode == 2 ? QStringLiteral("学習する問題図を選んでください")
                                 : QStringLiteral("鑑賞する問題図を選んでください"));
    ShowVolume();
}

frmSelQRep::~frmSelQRep() = default;

void frmSelQRep::BuildControls() {
    for (int k = 0; k < kPickerCells; ++k) {
        const QString n = QString::number(k);
        auto* pic = new BoardView(BoardStyle{0, true}, this);
        NameControl(pic, QStringLiteral("picBoard_") + n, QStringLiteral("問題図"));
        pic->setCursor(Qt::PointingHandCursor);
        SetAccessibleRole(pic, QAccessible::Button);
        pic->installEventFilter(this);
        pic->hide();
        picBoard[static_cast<size_t>(k)] = pic;

        lblQNum[static_cast<size_t>(k)] =
            MakeLabel(this, QStringLiteral("lblQNum_") + n, QStringLiteral("#XXXX"), QRect());
        lblQNum[static_cast<size_t>(k)]->hide();
        auto* box = MakeLabel(this, QStringLiteral("lblQLvl_") + n, QString(), QRect());
        box->setFrameShape(QFrame::Box);
        box->hide();
        lblQLvl[static_cast<size_t>(k)] = box;
        auto* tried = MakeLabel(this, QStringLiteral("lblTried_") + n, QString(), QRect());
        tried->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        tried->hide();
        lblTried[static_cast<size_t>(k)] = tried;
    }

    const int px = 652; // the panel beside the thumbnails
    lblDoing = MakeLabel(this, QStringLiteral("lblDoing"), QString(), QRect(px, 8, 140, 44));
    lblDoing->setWordWrap(true);
    lblVolume = MakeLabel(this, QStringLiteral("lblVolume"), QString(), QRect(px, 58, 108, 24));
    lblVolume->setFrameShape(QFrame::Panel);
    lblVolume->setFrameShadow(QFrame::Sunken);
    lblVolume->setAlignment(Qt::AlignCenter);
    cmdVolume = MakeButton(this, QStringLiteral("cmdVolume"), QStringLiteral("▼"),
                           QStringLiteral("問題集"), QRect(px + 110, 58, 28, 24));

    mnuVolume = new QMenu(QStringLiteral("問題集"), this);
    mnuVolume->setObjectName(QStringLiteral("mnuVolume"));
    const QString names[kVolumeCount] = {QStringLiteral("Velmora"), QStringLiteral("珍瓏"),
                                         QStringLiteral("入門")};
    for (int i = 0; i < kVolumeCount; ++i) {
        QAction* a = mnuVolume->addAction(names[i]);
        a->setObjectName(QStringLiteral("volItem_") + QString::number(i));
        connect(a, &QAction::triggered, this, [this, i] { volItem_Click(i); });
        volItem[static_cast<size_t>(i)] = a;
    }

    Label1 = MakeLabel(this, QStringLiteral("Label1"), QStringLiteral("難"), QRect(px, 92, 42, 20));
    Label2 =
        MakeLabel(this, QStringLiteral("Label2"), QStringLiteral("中"), QRect(px + 48, 92, 42, 20));
    Label3 =
        MakeLabel(this, QStringLiteral("Label3"), QStringLiteral("易"), QRect(px + 96, 92, 42, 20));
    Fill(Label1, LevelColour(30));
    Fill(Label2, LevelColour(20));
    Fill(Label3, LevelColour(10));
    for (QLabel* l : {Label1, Label2, Label3})
        l->setAlignment(Qt::AlignCenter);

    lblBunsi = MakeLabel(this, QStringLiteral("lblBunsi"), QString(), QRect(px, 126, 56, 22));
    lblBunsi->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblSlash = MakeLabel(this, QStringLiteral("lblSlash"), QStringLiteral("/"),
                         QRect(px + 58, 126, 20, 22));
    lblSlash->setAlignment(Qt::AlignCenter);
    lblBunbo = MakeLabel(this, QStringLiteral("lblBunbo"), QString(), QRect(px + 80, 126, 56, 22));
    lblBunbo->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    struct PageButton {
        QPushButton** button;
        QLabel** label;
        const char* name;
        const char* caption;
        const char* step;
        int column;
        int row;
        int delta;
    };
    const PageButton pages[] = {
        {&cmdM50, &lblM50, "M50", "<<", "-50", 0, 0, -50},
        {&cmdM10, &lblM10, "M10", "<<", "-10", 1, 0, -10},
        {&cmdM1, &lblM1, "M1", "<", "-1", 2, 0, -1},
        {&cmdP1, &lblP1, "P1", ">", "+1", 0, 1, 1},
        {&cmdP10, &lblP10, "P10", ">>", "+10", 1, 1, 10},
        {&cmdP50, &lblP50, "P50", ">>", "+50", 2, 1, 50},
    };
    for (const PageButton& pb : pages) {
        const int x = px + 47 * pb.column;
        const int y = 160 + 56 * pb.row;
        const QString step = QString::fromLatin1(pb.step);
        *pb.button = MakeButton(this, QStringLiteral("cmd") + QString::fromLatin1(pb.name),
                                QString::fromLatin1(pb.caption),
                                QStringLiteral("ページ送り ") + step, QRect(x, y, 44, 26));
        *pb.label = MakeLabel(this, QStringLiteral("lbl") + QString::fromLatin1(pb.name), step,
                              QRect(x, y + 28, 44, 16));
        (*pb.label)->setAlignment(Qt::AlignCenter);
        const int delta = pb.delta;
        connect(*pb.button, &QPushButton::clicked, this, [this, delta] { TurnPage(delta); });
    }

    chkDue = new QCheckBox(QStringLiteral("今日の復習だけ"), this);
    NameControl(chkDue, QStringLiteral("chkDue"), chkDue->text());
    chkDue->setGeometry(px, 296, 140, 24);
    lblDue = MakeLabel(this, QStringLiteral("lblDue"), QString(), QRect(px, 322, 140, 20));
    connect(chkDue, &QCheckBox::toggled, this, [this] { ShowVolume(); });

    cmdGo = MakeButton(this, QStringLiteral("cmdGo"), QStringLiteral("スタート"),
                       QStringLiteral("スタート"), QRect(px, 380, 138, 34));
    cmdExit = MakeButton(this, QStringLiteral("cmdExit"), QStringLiteral("終了"),
                         QStringLiteral("終了"), QRect(px, 424, 138, 34));

    for (int i = 0; i < 4; ++i) {
        auto* line = new QWidget(this);
        line->setObjectName(QStringLiteral("linFocus_") + QString::number(i));
        line->setAttribute(Qt::WA_TransparentForMouseEvents);
        SetAccessibleDecoration(line); // the thumbnail itself is the focus
        Fill(line, QColor(255, 255, 255));
        line->hide();
        linFocus[static_cast<size_t>(i)] = line;
    }

    connect(cmdVolume, &QPushButton::clicked, this, [this] { cmdVolume_Click(); });
    connect(cmdGo, &QPushButton::clicked, this, [this] { cmdGo_Click(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    SetKeyboardButtons(this, cmdExit);
}

int frmSelQRep::ProblemCount() const {
    if (gCourse < 0 || gCourse >= kCourseCount) return 0;
    if (chkDue && chkDue->isChecked()) return static_cast<int>(due_.size());
    return qMax<int>(0, gCourses[static_cast<size_t>(gCourse)].ProbCount);
}

int frmSelQRep::ProblemAt(int slot) const {
    if (!chkDue || !chkDue->isChecked()) return slot;
    return slot >= 0 && slot < static_cast<int>(due_.size()) ? due_[static_cast<size_t>(slot)] : -1;
}

int frmSelQRep::ChosenProblem() const {
    return ProblemAt(LayoutForCourse(gCourse).perPage() * PageNo + CursorCell);
}

void frmSelQRep::RefreshDueList() {
    due_.clear();
    const int all = gCourse >= 0 && gCourse < kCourseCount
                        ? gCourses[static_cast<size_t>(gCourse)].ProbCount
                        : 0;
    if (gPlayerCount > 0 && all > 0) {
        for (const int p :
             DueProblems(AttemptsOf(gCurPlayer), gCourses[static_cast<size_t>(gCourse)].BaseName,
                         QDate::currentDate()))
            if (p < all) due_.push_back(p);
    }
    lblDue->setText(QStringLiteral("今日の復習 ") + ToWideDigits(QString::number(due_.size())) +
                    QStringLiteral("問"));
}

void frmSelQRep::ShowVolume() {
    const PageLayout layout = LayoutForCourse(gCourse);
    RefreshDueList();
    const int n = ProblemCount();
    PageCount = PageCountFor(n, layout.perPage());
    lblVolume->setText(gCourses[static_cast<size_t>(gCourse)].ShortTitle);
    const int set = CourseDataSet(gCourse);
    int last = gPlayerRecord.LastProb[static_cast<size_t>(set)];
    if (chkDue->isChecked()) {
        // The remembered problem's place among those due, else the first.
        const auto it = std::find(due_.begin(), due_.end(), last);
        last = it == due_.end() ? 0 : static_cast<int>(it - due_.begin());
    }
    const PickerPosition pos = PositionOfProblem(last, n, layout.perPage());
    PageNo = pos.pageNo;
    CursorCell = pos.cursor;
    DrawPage();
}

void frmSelQRep::DrawPage() {
    ++pageDraws_;
    BusyCursor busy;
    lblBunsi->setText(QString::number(PageNo + 1));
    lblBunbo->setText(QString::number(PageCount));

    const PageLayout layout = LayoutForCourse(gCourse);
    const int n = ProblemCount();
    for (QWidget* line : linFocus)
        line->hide();
    for (int k = 0; k < kPickerCells; ++k) {
        picBoard[static_cast<size_t>(k)]->hide();
        lblQNum[static_cast<size_t>(k)]->hide();
        lblQLvl[static_cast<size_t>(k)]->hide();
        lblTried[static_cast<size_t>(k)]->hide();
    }
    const std::map<int, ProblemMark> marks =
        gPlayerCount > 0 && gCourse >= 0 && gCourse < kCourseCount
            ? ProblemMarks(gCurPlayer, gCourses[static_cast<size_t>(gCourse)].BaseName)
            : std::map<int, ProblemMark>{};

    for (int k = 0; k < layout.perPage(); ++k) {
        if (layout.perPage() * PageNo + k >= n) continue;
        const int p = ProblemAt(layout.perPage() * PageNo + k);
        if (p < 0) continue;
        const size_t c = static_cast<size_t>(k);
        lblQNum[c]->setText(QStringLiteral("#") + QString::number(p + 1));

        // Damaged problem data ends the run with a message naming the file,
        // as in every window.
        Problem problem;
        QString error;
        if (!LoadProblem(gCourse, p, problem, &error)) FatalError(error);
        const QRect r = CellRect(layout, k);
        BoardView* pic = picBoard[c];
        pic->setGeometry(r);
        const int labelTop = r.top() - kLabelHeight + 2;
        lblQNum[c]->setGeometry(r.left() + kLevelBoxWidth + 7, labelTop, 64, kLabelHeight);
        lblQLvl[c]->setGeometry(r.left(), labelTop, kLevelBoxWidth, kLabelHeight - 2);
        const int level = problem.Difficulty;
        Fill(lblQLvl[c], LevelColour(level));
        lblQLvl[c]->setAccessibleName(LevelName(level));
        const int global = GlobalProbIndex(gCourse, p);
        const ProbStat stat = global >= 0 && global < int(gPlayerRecord.Stat.size())
                                  ? gPlayerRecord.Stat[size_t(global)]
                                  : ProbStat{};
        pic->setAccessibleName(ThumbnailName(p, level, stat.Asked != 0, stat.Correct != 0));

        pic->InitBoardMetrics(layout.lines);
        pic->DrawBoard(problem.gInitBoard);
        pic->show();
        lblQNum[c]->show();
        lblQLvl[c]->show();
        const auto mark = marks.find(p);
        if (mark != marks.end()) {
            const bool solved = mark->second == ProblemMark::Solved;
            lblTried[c]->setText(solved ? QStringLiteral("○") : QStringLiteral("×"));
            lblTried[c]->setStyleSheet(solved ? QStringLiteral("color: rgb(224, 0, 0);")
                                              : QStringLiteral("color: rgb(0, 96, 255);"));
            lblTried[c]->setAccessibleName(solved ? QStringLiteral("解いた問題")
                                                  : QStringLiteral("前回は不正解"));
            lblTried[c]->setGeometry(r.right() - 23, labelTop, 24, kLabelHeight);
            lblTried[c]->show();
        }
    }

    PlaceFocus();
}

void frmSelQRep::PlaceFocus() {
    const PageLayout layout = LayoutForCourse(gCourse);
    const int fixed = FixCursor(ProblemCount(), layout.perPage(), PageNo, CursorCell);
    if (fixed < 0) {
        for (QWidget* line : linFocus)
            line->hide();
        return;
    }
    CursorCell = fixed;
    // The bottom edge (two pixels, drawn from one above its line) stays
    // clear of the next row's level box and number label.
    const QRect picture = CellRect(layout, CursorCell);
    const int nextLabelTop = picture.top() + picture.height() + layout.vGap - kLabelHeight + 2;
    const std::array<QLine, 4> lines =
        FocusLines(picture, nextLabelTop - kFocusThickness + kFocusThickness / 2);
    for (size_t i = 0; i < lines.size(); ++i) {
        linFocus[i]->setGeometry(LineRect(lines[i]));
        linFocus[i]->raise();
        linFocus[i]->show();
    }
}

void frmSelQRep::TurnPage(int delta) {
    const int next = PageAfter(PageNo, PageCount, delta);
    if (next == PageNo) return;
    PageNo = next;
    DrawPage();
}

void frmSelQRep::cmdM1_Click() {
    TurnPage(-1);
}
void frmSelQRep::cmdM10_Click() {
    TurnPage(-10);
}
void frmSelQRep::cmdM50_Click() {
    TurnPage(-50);
}
void frmSelQRep::cmdP1_Click() {
    TurnPage(1);
}
void frmSelQRep::cmdP10_Click() {
    TurnPage(10);
}
void frmSelQRep::cmdP50_Click() {
    TurnPage(50);
}

void frmSelQRep::cmdVolume_Click() {
    mnuVolume->popup(cmdVolume->mapToGlobal(QPoint(0, cmdVolume->height())));
}

void frmSelQRep::volItem_Click(int i) {
    const int course = CourseForVolume(i);
    if (course < 0 || course == gCourse) return;
    gCourse = static_cast<int16_t>(course);
    ShowVolume();
}

void frmSelQRep::picBoard_Click(int k) {
    if (k < 0 || k >= LayoutForCourse(gCourse).perPage()) return;
    if (LayoutForCourse(gCourse).perPage() * PageNo + k >= ProblemCount()) return;
    if (k == CursorCell) {
        cmdGo_Click();
        return;
    }
    CursorCell = k;
    PlaceFocus();
}

void frmSelQRep::Remember() {
    const int set = CourseDataSet(gCourse);
    const int chosen = ChosenProblem();
    const bool valid = chosen >= 0 && chosen < CourseProblems();
    // An empty list of problems due keeps the problem remembered before.
    if (valid || !chkDue->isChecked())
        gPlayerRecord.LastProb[static_cast<size_t>(set)] = static_cast<int16_t>(valid ? chosen : 0);
    gPlayerRecord.LastCourse = gCourse;
    SaveCurrentPlayerAsking(this);
    remembered_ = true;
}

void frmSelQRep::cmdGo_Click() {
    const int chosen = ChosenProblem();
    if (chosen < 0 || chosen >= CourseProblems()) {
        Beep(); // an empty volume has nothing to start
        return;
    }
    gProbNo = static_cast<int16_t>(chosen);
    BusyCursor busy;
    leaving_ = true;
    // Written before the next window opens, so that it reads the new position.
    Remember();
    OpenWindow(gMode == 2 ? Role::Learn : Role::View);
    close();
}

void frmSelQRep::cmdExit_Click() {
    BusyCursor busy;
    leaving_ = true;
    Remember();
    MyInitForm();
    close();
}

void frmSelQRep::closeEvent(QCloseEvent* event) {
    if (!remembered_) Remember();
    if (!leaving_) {
        MyInitForm();
        frmSource::Unload();
    }
    event->accept();
}

bool frmSelQRep::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (int k = 0; k < kPickerCells; ++k) {
            if (watched == picBoard[static_cast<size_t>(k)]) {
                if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) picBoard_Click(k);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmSelQRep::keyPressEvent(QKeyEvent* event) {
    const PageLayout layout = LayoutForCourse(gCourse);
    int cell = CursorCell;
    switch (event->key()) {
    case Qt::Key_Left:
        cell -= 1;
        break;
    case Qt::Key_Right:
        cell += 1;
        break;
    case Qt::Key_Up:
        cell -= layout.columns;
        break;
    case Qt::Key_Down:
        cell += layout.columns;
        break;
    case Qt::Key_PageUp:
        TurnPage(-1);
        return;
    case Qt::Key_PageDown:
        TurnPage(1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        cmdGo_Click();
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (cell < 0 || cell >= layout.perPage() || layout.perPage() * PageNo + cell >= ProblemCount())
        return;
    CursorCell = cell;
    PlaceFocus();
}
