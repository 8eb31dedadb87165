// Page geometry and paging rules of the problem picker, free of widgets.
#pragma once

#include <QColor>
#include <QLine>
#include <QRect>
#include <QString>
#include <array>
#include <climits>

namespace picker {

// One of the two thumbnail layouts (in window pixels).
struct PageLayout {
    int rows;
    int columns;
    int width;  // picture width
    int height; // picture height
    int lines;  // board lines shown in a thumbnail
    int hGap;
    int vGap;
    int left;
    int top;

    int perPage() const { return rows * columns; }
};

inline constexpr int kPickerCells = 12; // the most cells a page has
inline constexpr int kVolumeCount = 3;

// Layout B (2 x 2 at 19 lines) for course 4, layout A (3 x 4 at 11 lines) otherwise.
PageLayout LayoutForCourse(int course);
// Pages needed for n problems (at least one, also for an empty volume).
int PageCountFor(int n, int perPage);
// Where the picture of cell k sits.
QRect CellRect(const PageLayout& layout, int k);
// The cell of the focus, moved to the last problem of a short last page.
// -1 when the page shows no problem at all.
int FixCursor(int n, int perPage, int pageNo, int cursor);
// The four lines of the focus frame around a picture; the top edge stays open
// from the left corner to 50 pixels right of it, above the number label.
// `lowest` is the lowest row the bottom edge may take: where the next row's
// level box and number label begin, the edge stays above them.
std::array<QLine, 4> FocusLines(const QRect& picture, int lowest = INT_MAX);
// What a screen reader says for the thumbnail of problem n (0-based): its
// number, level and whether the player has solved it, e.g.
// "問題 12、易、解いた".
QString ThumbnailName(int n, int level, bool asked, bool correct);
// Colour of a level box: red for 30, magenta for 20, yellow otherwise.
QColor LevelColour(int level);
// The page after a paging button: delta -1, -10, -50 back, +1, +10, +50 forward.
int PageAfter(int pageNo, int pageCount, int delta);
// Volume menu entry i (0..2) <-> course (0, 4, 5). -1 for anything else.
int CourseForVolume(int i);
int VolumeForCourse(int course);

struct PickerPosition {
    int pageNo;
    int cursor;
};
// Page and cell of a remembered problem; one past the volume's end (or a
// negative number) starts at the first problem.
PickerPosition PositionOfProblem(int problem, int n, int perPage);

} // namespace picker
