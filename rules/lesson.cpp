#include "lesson.h"

#include "library/courses.h"
#include "library/player.h"
#include "outcome.h"

std::vector<ChildInfo> BestChildren(const std::vector<ChildInfo>& children, int nodeResult) {
    std::vector<ChildInfo> best;
    if (nodeResult < 0) return best;
    const int16_t value = ResultValue(nodeResult);
    for (const ChildInfo& c : children) {
        if (c.result >= 0 && ResultValue(c.result) == value) best.push_back(c);
    }
    return best;
}

TurningPoint FindTurningPoint(const Problem& p, int node) {
    TurningPoint tp;
    const NodeList path = GetPath(p, node);
    int16_t parent = kRoot;
    for (size_t i = 0; i < path.size(); ++i) {
        const int16_t child = path[i];
        const int16_t before = NodeResult(p, parent);
        const int16_t after = NodeResult(p, child);
        if (before >= 0 && after >= 0 && ResultValue(after) < ResultValue(before)) {
            tp.found = true;
            tp.index = static_cast<int>(i);
            tp.parent = parent;
            tp.node = child;
            tp.moveNumber = static_cast<int>(i) + 1 + p.gTurnOffset;
            tp.x = p.x[static_cast<size_t>(child)];
            tp.y = p.y[static_cast<size_t>(child)];
            const CurrentPosition at = SetUpNode(p, parent);
            tp.best = BestChildren(at.children, before);
            return tp;
        }
        parent = child;
    }
    return tp;
}

QString TurningPointText(int moveNumber) {
    return ToWideDigits(QString::number(moveNumber)) +
           QStringLiteral("手目が悪手でした。○が正解です");
}

std::vector<ChildInfo> RightFirstMoves(int course, int n) {
    if (course < 0 || course >= kCourseCount) return {};
    if (n < 0 || n >= gCourses[static_cast<size_t>(course)].ProbCount) return {};
    Problem p;
    if (!LoadProblemFromSet(gCourses[static_cast<size_t>(course)].BaseName, n, p)) return {};
    const int16_t best = CalcAllResults(p);
    return BestChildren(SetUpNode(p, kRoot).children, best);
}
