// Takes the pictures of the problem picker and the learn window in use, from
// a copy of a program folder: learn_screens PROGRAM_FOLDER OUTPUT_FOLDER.
// Not a test: run it under a virtual X server (or offscreen) to refresh
// docs/screenshots/picker.png and learn.png.
#include "library/courses.h"
#include "library/files.h"
#include "library/player.h"
#include "library/problem.h"
#include "library/session.h"
#include "modes/learn/frmlearn.h"
#include "platform/recordingplatform.h"
#include "rules/outcome.h"
#include "selection/picker/frmselqrep.h"
#include "shell/appinit.h"
#include "shell/router.h"
#include "tests/common/screenshots.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <initializer_list>

namespace {

using screenshots::Fail;
using screenshots::Pump;

struct Stone {
    int x;
    int y;
};
struct Node {
    int prev;
    int x;
    int y;
    int code;
};

Problem Shape(int level, int purpose, std::initializer_list<Stone> black,
              std::initializer_list<Stone> white, std::initializer_list<Node> nodes) {
    Problem p;
    p.ViewSize = 11;
    p.Difficulty = static_cast<int16_t>(level);
    p.ProbPurpose = static_cast<int16_t>(purpose);
    for (const Stone& s : black)
        p.gInitBoard[static_cast<size_t>(s.x + 19 * s.y)] = kBlack;
    for (const Stone& s : white)
        p.gInitBoard[static_cast<size_t>(s.x + 19 * s.y)] = kWhite;
    for (const Node& n : nodes) {
        const size_t i = static_cast<size_t>(p.hands++);
        p.prev[i] = static_cast<int16_t>(n.prev);
        p.x[i] = static_cast<uint8_t>(n.x);
        p.y[i] = static_cast<uint8_t>(n.y);
        p.code[i] = static_cast<uint8_t>(n.code);
    }
    return p;
}

// White's straight three on the edge: the middle point kills.
Problem StraightThree(int level) {
    return Shape(level, 2, {{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {4, 1}, {4, 0}, {5, 2}, {1, 4}},
                 {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {3, 0}},
                 {{kRoot, 1, 0, 0},
                  {0, 2, 0, 5},
                  {0, 0, 0, 5},
                  {kRoot, 0, 0, 0},
                  {3, 1, 0, 55},
                  {kRoot, 2, 0, 0},
                  {5, 1, 0, 55}});
}

// White's bent three in the corner: the corner-side vital point kills.
Problem BentThree(int level) {
    return Shape(level, 2, {{0, 3}, {1, 3}, {2, 3}, {2, 2}, {3, 2}, {3, 1}, {3, 0}, {4, 1}, {2, 5}},
                 {{0, 2}, {1, 2}, {1, 1}, {2, 1}, {2, 0}},
                 {{kRoot, 0, 0, 0}, {0, 1, 0, 5}, {0, 0, 1, 5}, {kRoot, 1, 0, 0}, {3, 0, 0, 55}});
}

// A stand-in collection for a program folder that has no problems yet.
bool WriteDemoData(const QString& folder) {
    PlayerRecord psn;
    psn.ThinkTime = 60;
    const int levels[3] = {10, 20, 30};
    const int counts[3] = {30, 9, 7};
    const char* bases[3] = {"abc", "s1", "s2"};
    for (int set = 0; set < 3; ++set) {
        QByteArray dr, dt;
        for (int i = 0; i < counts[set]; ++i) {
            const int level = levels[(i / 2) % 3];
            dt += EncodeProblem(i % 2 == 0 ? StraightThree(level) : BentThree(level));
            const quint32 end = static_cast<quint32>(dt.size());
            for (int b = 0; b < 4; ++b)
                dr.append(static_cast<char>((end >> (8 * b)) & 0xFF));
        }
        const QString name = QLatin1String(bases[set]);
        if (!WriteFileAtomic(folder + name + ".dr", dr) ||
            !WriteFileAtomic(folder + name + ".dt", dt))
            return false;
    }
    return WriteFileAtomic(folder + "vm2.psn", PlayerRecordToBytes(psn));
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    screenshots::Setup setup;
    if (!screenshots::Start(app, argc, argv, "learn_screens", setup, {"vm2.ply", "vm2.ps0"}))
        return 1;
    const QString& out = setup.out;
    QString error;
    if (!InitCourses(&error) || gCourses[0].ProbCount < 13) {
        std::fprintf(stderr, "learn_screens: no problem data; using a stand-in collection\n");
        if (!WriteDemoData(gDataPath) || !InitCourses(&error)) return Fail("no problem data");
    }
    if (!screenshots::StartPlayer()) return Fail("no player template");
    gPlayerRecord.LastCourse = 0;
    gPlayerRecord.LastProb[0] = 12; // second page, first cell
    SavePlayerFile(0);

    // Quiet: no sounds or boxes while the pictures are taken.
    RecordingPlatform platform;
    SetPlatform(&platform);
    SetMenuRefresh([] {});
    RegisterWindow(Role::Learn, [] { return new frmLearn; });
    RegisterWindow(Role::Picker, [] { return new QWidget; });
    gMode = 2;

    auto* picker = new frmSelQRep;
    picker->show();
    Pump();
    picker->picBoard_Click(5);
    Pump();
    if (!picker->grab().save(out + "/picker.png")) return Fail("cannot write picker.png");
    picker->picBoard_Click(5); // starts the learn window on the framed problem
    Pump();

    frmLearn* learn = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* lw = qobject_cast<frmLearn*>(w)) learn = lw;
    if (!learn || !learn->problemLoaded()) return Fail("no learn window");
    // Play the problem's correct line to its end: Black's best move, the reply.
    for (int step = 0; step < 40 && !learn->state().settled(); ++step) {
        const learn::LearnState& s = learn->state();
        int pick = 0;
        for (size_t i = 0; i < s.pos.children.size(); ++i)
            if (s.pos.children[i].result == s.pos.result) {
                pick = static_cast<int>(i);
                break;
            }
        const ChildInfo c = s.pos.children[static_cast<size_t>(pick)];
        learn->picBoard_MouseDown(c.x, c.y, 1);
        learn->Timer1_Timer();
    }
    Pump();
    if (!learn->grab().save(out + "/learn.png")) return Fail("cannot write learn.png");
    SetPlatform(nullptr);
    return 0;
}
