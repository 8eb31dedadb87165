#include "pickerlogic.h"

#include <algorithm>

namespace picker {

QString ThumbnailName(int n, int level, bool asked, bool correct) {
    const QString levelName = level == 30   ? QStringLiteral("難")
                              : level == 20 ? QStringLiteral("中")
                                            : QStringLiteral("易");
    const QString status = correct ? QStringLiteral("解いた")
                           : asked ? QStringLiteral("解けなかった")
                                   : QStringLiteral("未挑戦");
    return QStringLiteral("問題 %1、%2、%3").arg(n + 1).arg(levelName, status);
}

PageLayout LayoutForCourse(int course) {
    if (course == 4) return PageLayout{2, 2, 176, 176, 19, 100, 24, 70, 50};
    return PageLayout{3, 4, 131, 123, 11, 12, 14, 40, 40};
}

int PageCountFor(int n, int perPage) {
    if (n <= 0 || perPage <= 0) return 1;
    return (n - 1) / perPage + 1;
}

QRect CellRect(const PageLayout& l, int k) {
    const int row = k / l.columns;
    const int column = k % l.columns;
    return QRect((l.hGap + l.width) * column + l.left, (l.vGap + l.height) * row + l.top, l.width,
                 l.height);
}

int FixCursor(int n, int perPage, int pageNo, int cursor) {
    const int first = perPage * pageNo;
    if (first >= n) return -1;
    if (cursor < 0) cursor = 0;
    if (cursor >= perPage) cursor = perPage - 1;
    if (first + cursor >= n) cursor = n - first - 1;
    return cursor;
}

std::array<QLine, 4> FocusLines(const QRect& p, int lowest) {
    const int left = p.left() - 3;
    const int right = p.left() + p.width() + 3;
    const int top = p.top() - 3;
    const int bottom = std::min(p.top() + p.height() + 3, lowest);
    return {QLine(left, top, left, bottom), QLine(left, bottom, right, bottom),
            QLine(right, bottom, right, top), QLine(right, top, left + 50, top)};
}

QColor LevelColour(int level) {
    if (level == 30) return QColor(255, 0, 0);
    if (level == 20) return QColor(255, 0, 255);
    return QColor(255, 255, 0);
}

int PageAfter(int pageNo, int pageCount, int delta) {
    if (delta < 0) {
        if (pageNo < 1) return pageNo;
        return std::max(0, pageNo + delta);
    }
    if (pageNo + 1 >= pageCount) return pageNo;
    return std::min(pageCount - 1, pageNo + delta);
}

int CourseForVolume(int i) {
    static constexpr int courses[kVolumeCount] = {0, 4, 5};
    return (i >= 0 && i < kVolumeCount) ? courses[i] : -1;
}

int VolumeForCourse(int course) {
    for (int i = 0; i < kVolumeCount; ++i)
        if (CourseForVolume(i) == course) return i;
    return -1;
}

PickerPosition PositionOfProblem(int problem, int n, int perPage) {
    if (problem < 0 || problem >= n) problem = 0;
    return {problem / perPage, problem % perPage};
}

} // namespace picker
