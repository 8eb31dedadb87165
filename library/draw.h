// The trial's draw: which problems of a course may be asked next under the
// player's question order, the reset of a worked-through course, the pick,
// and the ratio text of the course list. Everything here takes its inputs
// explicitly; CurrentDrawScope() binds them to the program-wide selection.
#pragma once

#include "library/player.h"
#include "library/session.h"

#include <QString>
#include <cstdint>
#include <random>

// Question orders (MakeQ).
inline constexpr int MakeQUnasked = 0;
inline constexpr int MakeQWrongFirst = 1;
inline constexpr int MakeQMixed = 2;
inline constexpr int MakeQAll = 3;

// "100.0", " 50.0", "  0.0", "   .5", "-----" (no answers): five characters.
QString FormatRatio(int correct, int answered);

// What the draw works on: one course of the player's statistics and the
// questions already asked in the running trial.
struct DrawScope {
    int levelFilter = 0; // 0 every level
    int probCount = 0;   // problems 0..probCount-1 of the course
    int base = 0;        // global index of problem 0
    PlayerRecord* record = nullptr;
    std::array<AnswerEntry, kTrialQuestions>* sheet = nullptr;
    int questionNo = 0; // entries 0..questionNo-1 are this trial's questions

    // Problems that have a statistics entry (the rest are never drawn).
    int usableCount() const;
    ProbStat& stat(int p) const { return record->Stat[static_cast<size_t>(base + p)]; }
};

// Course `course` with questions 0..questionNo-1 asked, over gAnswerSheet
// and gPlayerRecord.
DrawScope DrawScopeFor(int course, int questionNo);
// gCourse, gQuestionNo, gAnswerSheet and gPlayerRecord.
DrawScope CurrentDrawScope();

bool IsEligible(const DrawScope& s, int mode, int p);
int CountEligible(const DrawScope& s, int mode);

struct DrawPreparation {
    int mode = 0;  // effective mode
    int count = 0; // eligible problems under it
};
// Falls back from "wrong first" to "unasked", and when nothing is left
// clears the Asked/Correct flags of the course's problems of its level that
// are not part of this trial.
DrawPreparation PrepareDraw(const DrawScope& s, int setting);

// k = r * count rounded to the nearest integer (ties to even), at most
// count - 1. r in [0, 1).
int PickIndex(double r, int count);
// The problem numbered k among those eligible under `mode`, or -1.
int NthEligible(const DrawScope& s, int mode, int k);

// The whole draw of one question: prepare, pick with r, mark the problem
// asked and enter it in the sheet at questionNo. Returns the problem number,
// or -1 when no problem can be asked (nothing is changed then).
int DrawQuestion(const DrawScope& s, int setting, double r);

// The trial's uniform generator in [0, 1): seeded once per trial.
class TrialRandom {
public:
    explicit TrialRandom(uint64_t seed) : engine_(seed) {}
    double next() {
        // 53 random bits: every value is exactly representable and below 1.
        return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
    }

private:
    std::mt19937_64 engine_;
};
