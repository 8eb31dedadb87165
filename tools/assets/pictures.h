// The program's pictures, drawn from code: the kaya board, the stone tiles,
// the window backgrounds, the picture buttons and the application icon.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace art {

// The empty board surface: straight-grained kaya, no lines. With `scale` 2
// the same wood at twice the pixel density (for screens of that ratio).
QImage MakeBoard(int size = 389, int scale = 1);

// One stone tile pair of edge `size`: `image` shows the stone and is pure
// black elsewhere; `mask` is pure black under the stone and pure white
// elsewhere.
struct StoneTile {
    QImage image;
    QImage mask;
};
StoneTile MakeStone(int size, bool white);
// The tile pair at `scale` times the pixel density (edge size × scale): the
// image is the stone over black by its coverage and the mask white by what
// the stone leaves uncovered, so that the two make a premultiplied picture
// with soft edges.
StoneTile MakeStone(int size, bool white, int scale);

// Window backgrounds by file name ("sakura.bmp", "keiryu.bmp", "marble.bmp",
// "kaede.bmp", "sekitei.bmp", "yuuyake.bmp").
QStringList BackgroundNames();
QImage MakeBackground(const QString& fileName, int width = 800, int height = 600);

// Picture buttons, 41 x 29. `symbol`: "toroo", "1prev", "playi", "tobot",
// "1forw", "stopi", "quest". `state`: 0 active, 1 lit (hint shown), 2 greyed.
inline constexpr int kButtonWidth = 41;
inline constexpr int kButtonHeight = 29;
// `scale` 2 draws the same button at twice the pixel density.
QImage MakeButton(const QString& symbol, int state, int scale = 1);

// The application icon at one edge size (ARGB).
QImage MakeIcon(int size);

// A demonstration sheet: the board with stones of every tile size drawn by
// AND with the mask and XOR with the image, as the program draws them.
QImage MakeStoneSheet();

// AND-then-XOR of one tile pair onto `surface` at (left, top).
void DrawTile(QImage& surface, const StoneTile& tile, int left, int top);

} // namespace art
