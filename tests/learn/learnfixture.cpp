#include "learnfixture.h"

#include "library/courses.h"
#include "library/files.h"
#include "library/player.h"
#include "library/session.h"
#include "rules/outcome.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QWidget>

Problem MakeProblem(int purpose, int difficulty, std::initializer_list<TestNode> nodes,
                    int viewSize) {
    Problem p;
    p.ViewSize = static_cast<int16_t>(viewSize);
    p.Difficulty = static_cast<int16_t>(difficulty);
    p.ProbPurpose = static_cast<int16_t>(purpose);
    // A few stones away from every move of the trees below.
    for (int x = 0; x < 4; ++x)
        p.gInitBoard[static_cast<size_t>(x + 19 * 8)] = kBlack;
    for (int x = 0; x < 3; ++x)
        p.gInitBoard[static_cast<size_t>(x + 19 * 7)] = kWhite;
    for (const TestNode& n : nodes) {
        const size_t i = static_cast<size_t>(p.hands++);
        p.prev[i] = static_cast<int16_t>(n.prev);
        p.x[i] = static_cast<uint8_t>(n.x);
        p.y[i] = static_cast<uint8_t>(n.y);
        p.code[i] = static_cast<uint8_t>(n.code);
        p.best[i] = static_cast<uint8_t>(n.best);
    }
    return p;
}

// Root: (2,2) right, (1,1) wrong. After (2,2) White answers (3,3) first; then
// (4,4) kills (50) and (5,5) lets White live (550).
Problem KillProblem(int difficulty) {
    return MakeProblem(2, difficulty,
                       {{kRoot, 2, 2},
                        {0, 3, 3},
                        {1, 4, 4, 5, 0},
                        {1, 5, 5, 55, 0},
                        {0, 6, 6},
                        {4, 7, 7, 5, 0},
                        {kRoot, 1, 1},
                        {6, 2, 3, 55, 0}});
}

// After (2,2) White's first reply (3,3) is worth 51 (White's best is 50);
// Black then finishes with (5,5).
Problem NearProblem() {
    return MakeProblem(2, 20, {{kRoot, 2, 2}, {0, 3, 3}, {0, 4, 4, 5, 0}, {1, 5, 5, 5, 1}});
}

// (2,2) reaches 黒成功 (120), (1,1) 黒失敗 (570).
Problem SuccessProblem() {
    return MakeProblem(3, 30, {{kRoot, 2, 2}, {0, 3, 3, 12, 0}, {kRoot, 1, 1}, {2, 4, 4, 57, 0}});
}

Problem EmptyTreeProblem() {
    return MakeProblem(1, 10, {});
}

std::vector<Problem> Repeat(const Problem& p, int count) {
    return std::vector<Problem>(static_cast<size_t>(count), p);
}

std::vector<Problem> StandardAbc() {
    std::vector<Problem> v{KillProblem(), NearProblem(), SuccessProblem(), EmptyTreeProblem()};
    const int levels[3] = {10, 20, 30};
    for (int i = 4; i < 25; ++i)
        v.push_back(KillProblem(levels[i % 3]));
    return v;
}

void LearnPlatform::playSound(const QString& path, bool toEnd) {
    sounds << QStringLiteral("%1:%2").arg(path.section(QLatin1Char('/'), -1)).arg(toEnd ? 1 : 0);
    if (onSound) onSound();
}

void LearnPlatform::showMessage(const QString& text) {
    messages << text;
    if (onMessage) onMessage();
}

void LearnTestData::WriteSet(const QString& folder, const QString& base,
                             const std::vector<Problem>& problems) {
    QByteArray dt;
    QByteArray dr;
    for (const Problem& p : problems) {
        dt += EncodeProblem(p);
        const quint32 end = static_cast<quint32>(dt.size());
        for (int b = 0; b < 4; ++b)
            dr.append(static_cast<char>((end >> (8 * b)) & 0xFF));
    }
    QFile fdt(folder + QLatin1Char('/') + base + QStringLiteral(".dt"));
    QFile fdr(folder + QLatin1Char('/') + base + QStringLiteral(".dr"));
    if (fdt.open(QIODevice::WriteOnly)) fdt.write(dt);
    if (fdr.open(QIODevice::WriteOnly)) fdr.write(dr);
}

namespace {

void SaveImage(const QString& folder, const QString& name, int w, int h, const QColor& fill) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    img.save(folder + QLatin1Char('/') + name, "BMP");
}

void WriteTiles(const QString& folder) {
    SaveImage(folder, QStringLiteral("board.bmp"), 400, 400, QColor(220, 180, 100));
    SaveImage(folder, QStringLiteral("marble.bmp"), 635, 429, QColor(200, 200, 200));
    const int sizes[4] = {29, 20, 11, 9};
    for (int i = 0; i < 16; ++i) {
        const int s = sizes[i / 4];
        const bool white = (i / 2) % 2 == 1;
        const bool mask = i % 2 == 1;
        QImage img(s, s, QImage::Format_RGB32);
        img.fill(mask ? Qt::white : Qt::black);
        QPainter pt(&img);
        pt.setPen(Qt::NoPen);
        pt.setBrush(mask ? QColor(Qt::black) : (white ? QColor(Qt::white) : QColor(40, 40, 40)));
        pt.drawEllipse(0, 0, s - 1, s - 1);
        pt.end();
        img.save(folder + QLatin1Char('/') + StoneBitmapName(i), "BMP");
    }
    for (const char* name : {"quest000.bmp", "quest001.bmp", "1Prev000.bmp", "1Prev002.bmp",
                             "ToRoo000.bmp", "ToRoo002.bmp"})
        SaveImage(folder, QString::fromLatin1(name), 37, 25, QColor(100, 100, 160));
    QFile wav(folder + QStringLiteral("/stone.wav"));
    if (wav.open(QIODevice::WriteOnly)) wav.write(QByteArray("RIFF\0\0\0\0WAVE", 12));
}

} // namespace

LearnTestData::LearnTestData(const std::vector<Problem>& abc, const std::vector<Problem>& s1,
                             const std::vector<Problem>& s2) {
    WriteSet(dir_.path(), QStringLiteral("abc"), abc);
    WriteSet(dir_.path(), QStringLiteral("s1"), s1);
    WriteSet(dir_.path(), QStringLiteral("s2"), s2);
    WriteTiles(dir_.path());
    gDataPath = MakeDataPath(dir_.path());
    InitCourses();
    InitOutcomeTable();
    gComments.clear();
    gCommentCount = 0;
    gCurPlayer = 0;
    gPlayerRecord = PlayerRecord{};
    gMode = 2;
    gCourse = 0;
    gProbNo = 0;
    gQuestionNo = 0;
    gReviewCount = 0;
    ClearAnswerSheet();
    SetPlatform(&platform);
    for (Role r : {Role::Picker, Role::Learn, Role::View, Role::Review}) {
        RegisterWindow(r, [this, r]() -> QWidget* {
            opened.push_back(r);
            auto* stub = new QWidget;
            stub->setObjectName(QStringLiteral("stub"));
            return stub;
        });
    }
    SetMenuRefresh([this] { ++menuRefreshes; });
}

LearnTestData::~LearnTestData() {
    for (Role r : {Role::Picker, Role::Learn, Role::View, Role::Review})
        RegisterWindow(r, nullptr);
    SetMenuRefresh(nullptr);
    SetPlatform(nullptr);
    // Stub windows opened by the router close with the test.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("stub")) delete w;
}
