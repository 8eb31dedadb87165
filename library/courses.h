// The course table over the three data sets, the global problem index and
// the problem aims with their statement texts.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

struct PlayerRecord;

struct CourseInfo {
    QString BaseName;    // data set: BaseName + ".dr" / ".dt"
    uint8_t LevelFilter; // 0 every problem; 10, 20, 30 only that Level
    QString Title;
    QString ShortTitle;
    int16_t ProbCount = 0; // length of the ".dr" file / 4
    int16_t StatTotal = 0;
    int16_t StatAnswered = 0;
    int16_t StatCorrect = 0;
};

struct PurposeInfo {
    int16_t Purpose;
    QString Label;
    QString PromptOne;
    QString PromptSettle;
};

inline constexpr int kCourseCount = 6;
extern std::array<CourseInfo, kCourseCount> gCourses;
extern std::array<PurposeInfo, 3> gPurposes;

// Fills gCourses (ProbCount from the ".dr" files in gDataPath) and gPurposes.
// Returns false with `error` naming the file when an index file is missing,
// unreadable or too large, or the data sets hold more than 3000 problems.
bool InitCourses(QString* error = nullptr);
// The same with the counts given (tests, tools).
void InitCoursesWithCounts(int16_t abcCount, int16_t s1Count, int16_t s2Count);

// ".dr" length / 4 of the course's data set, or -1 when the file is missing.
int16_t CourseProbCount(int course);
// The problems of a course as loaded in gCourses; 0 for a course that does not exist.
int LoadedProbCount(int course);
int CourseBase(int course);
int GlobalProbIndex(int course, int n);
int CourseDataSet(int course);

struct CourseStats {
    int16_t total = 0;
    int16_t answered = 0;
    int16_t correct = 0;
};
CourseStats CountCourseStats(int course, const PlayerRecord& record);
CourseStats CountCourseStats(int course); // over gPlayerRecord

QString ProblemStatement(int purpose, int kind);
