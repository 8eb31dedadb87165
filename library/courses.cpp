#include "courses.h"

#include "files.h"
#include "player.h"
#include "types.h"

#include <QFileInfo>

std::array<CourseInfo, kCourseCount> gCourses = {{
    {QStringLiteral("abc"), 0, QStringLiteral("Velmora(全問)"), QStringLiteral("Velmora")},
    {QStringLiteral("abc"), 30, QStringLiteral("Velmora(有段)"), QString()},
    {QStringLiteral("abc"), 20, QStringLiteral("Velmora(上級)"), QString()},
    {QStringLiteral("abc"), 10, QStringLiteral("Velmora(初級)"), QString()},
    {QStringLiteral("s1"), 0, QStringLiteral("珍瓏"), QStringLiteral("珍瓏")},
    {QStringLiteral("s2"), 0, QStringLiteral("入門"), QStringLiteral("入門")},
}};

std::array<PurposeInfo, 3> gPurposes = {{
    {1, QStringLiteral("<生き問題>"), QStringLiteral("黒先で生きてください"),
     QStringLiteral("黒先で生きるまで打ってください")},
    {2, QStringLiteral("<殺し問題>"), QStringLiteral("黒先で白を殺してください"),
     QStringLiteral("黒先で白を殺すまで打ってください")},
    {3, QStringLiteral("<攻め合い問題>"), QStringLiteral("黒先で攻め合いに勝ってください"),
     QStringLiteral("黒先で攻め合いに勝つまで打ってください")},
}};

namespace {
// The index file must stay below 32768 bytes.
constexpr qint64 kMaxIndexBytes = 32767;
} // namespace

int LoadedProbCount(int course) {
    if (course < 0 || course >= kCourseCount) return 0;
    return gCourses[static_cast<size_t>(course)].ProbCount;
}

int16_t CourseProbCount(int course) {
    if (course < 0 || course >= kCourseCount) return 0;
    const QFileInfo info(DataFile(gCourses[course].BaseName + QStringLiteral(".dr")));
    if (!info.exists()) return -1;
    return static_cast<int16_t>(std::min<qint64>(info.size(), kMaxIndexBytes) / 4);
}

void InitCoursesWithCounts(int16_t abcCount, int16_t s1Count, int16_t s2Count) {
    for (auto& c : gCourses) {
        c.ProbCount = c.BaseName == QLatin1String("abc")  ? abcCount
                      : c.BaseName == QLatin1String("s1") ? s1Count
                                                          : s2Count;
        c.StatTotal = c.StatAnswered = c.StatCorrect = 0;
    }
}

bool InitCourses(QString* error) {
    std::array<int16_t, 3> counts{};
    const std::array<QString, 3> sets = {QStringLiteral("abc"), QStringLiteral("s1"),
                                         QStringLiteral("s2")};
    for (int i = 0; i < 3; ++i) {
        const QString path = DataFile(sets[i] + QStringLiteral(".dr"));
        const QFileInfo info(path);
        if (!info.exists() || !info.isReadable()) {
            if (error) *error = QStringLiteral("問題データがありません: %1").arg(path);
            InitCoursesWithCounts(0, 0, 0);
            return false;
        }
        if (info.size() > kMaxIndexBytes || info.size() % 4 != 0) {
            if (error) *error = QStringLiteral("問題データが壊れています: %1").arg(path);
            InitCoursesWithCounts(0, 0, 0);
            return false;
        }
        counts[i] = static_cast<int16_t>(info.size() / 4);
    }
    if (counts[0] + counts[1] + counts[2] > kMaxProblemsTotal) {
        if (error) *error = QStringLiteral("問題が3000問を超えています: %1").arg(gDataPath);
        InitCoursesWithCounts(0, 0, 0);
        return false;
    }
    InitCoursesWithCounts(counts[0], counts[1], counts[2]);
    return true;
}

int CourseBase(int course) {
    if (course >= 0 && course <= 3) return 0;
    if (course == 4) return gCourses[0].ProbCount;
    if (course == 5) return gCourses[0].ProbCount + gCourses[4].ProbCount;
    return 0;
}

int GlobalProbIndex(int course, int n) {
    return CourseBase(course) + n;
}

int CourseDataSet(int course) {
    if (course == 4) return 1;
    if (course == 5) return 2;
    return 0;
}

CourseStats CountCourseStats(int course, const PlayerRecord& record) {
    CourseStats s;
    if (course < 0 || course >= kCourseCount) return s;
    const CourseInfo& c = gCourses[course];
    const int base = CourseBase(course);
    for (int i = base; i < base + c.ProbCount; ++i) {
        if (i < 0 || i >= static_cast<int>(record.Stat.size())) break;
        const ProbStat& st = record.Stat[i];
        if (c.LevelFilter != 0 && st.Level != c.LevelFilter) continue;
        ++s.total;
        if (st.Asked == 1) ++s.answered;
        if (st.Correct == 1) ++s.correct;
    }
    return s;
}

CourseStats CountCourseStats(int course) {
    return CountCourseStats(course, gPlayerRecord);
}

QString ProblemStatement(int purpose, int kind) {
    for (const PurposeInfo& p : gPurposes) {
        if (p.Purpose != purpose) continue;
        switch (kind) {
        case 0:
            return p.Label;
        case 1:
            return p.PromptOne;
        case 2:
            return p.PromptSettle;
        default:
            return QString();
        }
    }
    if (kind == 1) return QStringLiteral("黒先で一手打ってください");
    if (kind == 2) return QStringLiteral("黒先で一段落するまで打ってください");
    return QStringLiteral("題意不明");
}
