// The replay of a problem's stored lines and the examination of a position,
// without any widget: the view window copies this state onto its controls.
#pragma once

#include "library/problem.h"
#include "library/types.h"

#include <QString>
#include <array>
#include <vector>

// At most this many stored lines are offered as options.
inline constexpr int kMaxSequences = 4;

// The stored lines offered for a problem whose results are computed: the
// best-first replay nodes (at most four), their grade labels and the option
// captions ("正解１ - 白死").
struct SequenceList {
    NodeList ReplNodes;
    std::array<QString, 5> GradeLabel;
    std::vector<QString> captions;
};
SequenceList ListSequences(const Problem& p);

// Which of the six play buttons are active.
struct PlayButtons {
    bool rew = false;
    bool prev = false;
    bool playStop = false;
    bool que = false;
    bool next = false;
    bool stop = false;
    bool operator==(const PlayButtons&) const = default;
};
PlayButtons IdleButtons(int nowNth, int keiros);
PlayButtons PlayingButtons();
PlayButtons NoButtons();

// "４手": the number of the move to be shown next, full-width.
QString MoveNumberText(int nowNth);
// "黒番" when the move number is even, "白番" when odd.
QString TebanText(int nowNth);
// "「白死」になりました"
QString NowKekkaText(int result);

// One entry of the capture log: a stone taken while stepping forwards and the
// node whose move took it.
struct HamaEntry {
    int16_t HamaXY = -1;
    int16_t HamaLoc = -1;
};

// What a forward step did.
struct StepResult {
    bool moved = false;        // false: already at the end
    bool valueChanged = false; // the step changed the value of the result ("悪手です")
    bool reachedEnd = false;   // the line is now fully shown
};

enum class ExamMoveResult { Played, Illegal, Full };

// The position shown by the view window: one stored line stepped through move
// by move, or the examination stack.
class ReplayState {
public:
    explicit ReplayState(Problem& problem) : p_(problem) {}

    // After the problem was loaded and its results computed: the line list.
    void LoadSequences();
    // Back to the start of line `index` (clamped; no line: an empty line).
    void SelectSequence(int index);

    StepResult StepForward();
    // False when already at the start.
    bool StepBackward();

    // Examination: the shown position becomes a new root.
    void StartExamine();
    // A move for the side to move; the board and the stack change only when
    // it is legal and the node table has room.
    ExamMoveResult ExamineMove(int x, int y);
    // Takes back the newest examined move; false when there is none.
    bool ExamineTakeBack();
    // Restores the problem as it was and the line position examining began on.
    void EndExamine();

    const Problem& problem() const { return p_; }

    // The offered lines.
    SequenceList sequences;
    int ReplCount() const { return int(sequences.ReplNodes.size()); }
    int ReplIndex = 0;
    NodeList SeqNodes;
    int gKeiros = 0;

    // The shown position.
    int16_t gNowLoc = kRoot;
    int gNowNth = 0;
    int16_t side = kBlack;
    Board board{};
    int16_t RootResult = -1;
    int16_t NowResult = -1;
    std::vector<HamaEntry> captureLog; // gMyHamas = its size

    // Examination.
    bool ExamineOn = false;
    int16_t SavedLoc = kRoot;

private:
    Problem& p_;
    Problem saved_; // the problem as it was before examining
};
