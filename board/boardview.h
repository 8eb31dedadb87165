// Board rendering: board picture, grid, star points and masked stone tiles,
// and the mapping of mouse presses to board points. One widget serves every
// window; the per-window differences are a BoardStyle.
#pragma once

#include "library/types.h"

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <optional>

class QPainter;

// Nearest integer, ties to even (2.5 -> 2, 3.5 -> 4).
int NearestEven(double v);

// Colours of the marks that show where a line went wrong: the right move
// and the move that was played instead.
inline const QColor kRightMoveColour(224, 0, 0);
inline const QColor kWrongMoveColour(0, 96, 255);

struct BoardStyle {
    int tileOffset = 1;     // 1 learn/view, 2 trial, 0 review/picker
    bool thumbnail = false; // picker: 1-px lines, radius-2 star points
    int border = 2;         // sunken frame around the drawing area, in pixels
};

struct BoardMetrics {
    int16_t gBoardLines = 19;
    int16_t gStoneSize = 20;
    int16_t gBoardW = 381;
    int16_t gBoardH = 381;
};

// Pure metric routines; they take the surface's inner size.
BoardMetrics InitBoardMetrics(int n, double innerW, double innerH, bool thumbnail = false);
int PointToPixel(const BoardMetrics& m, int i);
int CellOriginX(const BoardMetrics& m, int i);
int CellOriginY(const BoardMetrics& m, int i);
int PixelToPoint(const BoardMetrics& m, double p);
// Whether (x, y) is one of the drawn points: 0..gBoardLines - 1 both ways.
bool IsShownPoint(const BoardMetrics& m, int x, int y);
// The point a press at `pos` of the drawing area (origin at its top-left
// corner, `inner` its size) falls on, or (-1, -1) when the press lies outside
// the drawn lines: on the frame, or in the strip past line gBoardLines - 1
// that the rounding of the stone size leaves at the right and bottom.
QPoint PressedPoint(const BoardMetrics& m, QSize inner, QPointF pos);

// The hidden tile store (frmSource): "board.bmp" and the sixteen tiles,
// loaded from gDataPath on first use.
namespace frmSource {
bool IsLoaded();
bool Load(QString* error = nullptr);
void Unload();
const QImage& BoardPicture();
const QImage& Tile(int index);
// For surfaces above device pixel ratio 1: "board@2x.bmp" (ratio 2), or the
// plain board when there is none.
const QImage& DenseBoardPicture();
// The stone of image tile `imageIndex` and its mask (the next index) as one
// premultiplied picture, from the "@2x" tiles when they are there.
const QImage& StoneSprite(int imageIndex);
// A button picture, read once while the store is loaded and kept until it is
// unloaded; above ratio 1 its "@2x" file when there is one.
const QPixmap& ButtonPicture(const QString& name, qreal dpr);
// The premultiplied picture that the mask-and-image pair paints.
QImage StoneFromTiles(const QImage& image, const QImage& mask);
} // namespace frmSource

class BoardView : public QWidget {
    Q_OBJECT
public:
    explicit BoardView(BoardStyle style, QWidget* parent = nullptr);

    void InitBoardMetrics(int n);
    void DrawBoard(const Board& board);
    void DrawStone(int x, int y, int state);
    void DrawCandidateMark(int x, int y, int kind);
    // The same marks (0 circle, 1 cross) in a colour of the caller's choice.
    void DrawColouredMark(int x, int y, int kind, const QColor& colour);

    // Play from the keyboard: the board takes the focus, arrow keys move a
    // cursor over the shown lines and Space or Return presses there (as a
    // left press). The cursor shows while the board has the focus.
    void EnableKeyboard(bool on);
    QPoint cursorPoint() const { return cursor_; }

    const BoardMetrics& metrics() const { return metrics_; }
    // The drawn surface, in device pixels (its device pixel ratio is the
    // screen's; at ratio 1 one pixel per drawing pixel).
    const QImage& image() const { return image_; }
    // The drawing area inside the frame (the surface's inner size).
    QSize innerSize() const;

signals:
    // A press with its point; x and y are -1 when the press lies outside the
    // drawn lines (see PressedPoint). The window decides whether that beeps.
    // buttons: bit 1 left, bit 2 right.
    void boardPressed(int x, int y, int buttons);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void ensureImage();
    qreal surfaceRatio() const;
    // The board picture, the grid lines and the star points.
    void drawEmptyBoard();
    // The grid lines, on whole device pixels at any ratio.
    void drawGridLines();
    // Above ratio 1: star points centred on their lines' crossing.
    void drawDenseStarPoints(double radius);
    // One stone: with `painter` (above ratio 1) as a soft-edged picture, else
    // mask and image tiles combined into the pixels.
    void paintStone(QPainter* painter, int x, int y, int state);
    void placeCursor(QPoint p);

    BoardStyle style_;
    BoardMetrics metrics_;
    QImage image_;
    std::optional<Board> shown_; // the position of the last DrawBoard
    bool keyboard_ = false;
    QPoint cursor_{-1, -1};
};
