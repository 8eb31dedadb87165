// Shared fixture of the learn and picker tests: tiny problem sets and the
// pictures the windows read, written to a temporary program folder, and a
// recording platform that lets a test act from inside the modal calls.
#pragma once

#include "library/problem.h"
#include "platform/platform.h"
#include "platform/recordingplatform.h"
#include "shell/router.h"

#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <initializer_list>
#include <vector>

struct TestNode {
    int prev; // 2047 for a child of the root
    int x;
    int y;
    int code = 0;
    int best = 0;
};

Problem MakeProblem(int purpose, int difficulty, std::initializer_list<TestNode> nodes,
                    int viewSize = 9);

// The problems the tests play (see the trees in learnfixture.cpp).
Problem KillProblem(int difficulty = 10); // best 白死 (50)
Problem NearProblem();                    // the reply reaches 51 where 50 was best
Problem SuccessProblem();                 // best 黒成功 (120)
Problem EmptyTreeProblem();               // no stored lines
Problem OneMoveProblem();                 // aim 0: 黒成功, 黒損 and 黒失敗 lines

class LearnPlatform : public Platform {
public:
    void beep() override { ++beeps; }
    void playSound(const QString& path, bool toEnd) override;
    void showMessage(const QString& text) override;
    void messageBox(const QString& text, QWidget*) override { boxes << text; }
    bool askYesNo(const QString& text, QWidget*) override {
        boxes << text;
        return true;
    }
    void openUrl(const QString&) override {}
    void quitProgram() override {}
    // A fatal error ends the run: the test sees it as ProgramAborted.
    void abortProgram(int code) override { throw ProgramAborted(code); }

    int beeps = 0;
    QStringList sounds;
    QStringList messages;
    QStringList boxes;
    // Called from inside playSound / showMessage, as a nested event loop would.
    std::function<void()> onSound;
    std::function<void()> onMessage;
};

// A temporary program folder with "abc", "s1" and "s2", the board and button
// pictures and the stone sound; installs itself as gDataPath, fills the
// course and outcome tables, resets the player and the selection, installs a
// recording platform and stub windows for every role the tests leave to.
class LearnTestData {
public:
    LearnTestData(const std::vector<Problem>& abc, const std::vector<Problem>& s1,
                  const std::vector<Problem>& s2);
    ~LearnTestData();
    LearnTestData(const LearnTestData&) = delete;
    LearnTestData& operator=(const LearnTestData&) = delete;

    QString folder() const { return dir_.path(); }
    LearnPlatform platform;
    std::vector<Role> opened; // roles opened through the router
    int menuRefreshes = 0;

private:
    QTemporaryDir dir_;
};

// The standard set: abc holds 25 problems (0 kill, 1 near, 2 success, 3 no
// lines, then kill problems of mixed levels), s1 five, s2 three.
std::vector<Problem> StandardAbc();
std::vector<Problem> Repeat(const Problem& p, int count);
