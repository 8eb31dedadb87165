// Application-wide set-up: the Japanese UI font, Qt's own dialog texts in
// Japanese, the window icon.
#pragma once

class QApplication;
class QFont;
class QString;

// The one UI font of the program.
inline constexpr const char* kUiFontFamily = "IPAGothic";
inline constexpr int kUiFontPixelSize = 13;

// `font` made `extraPixels` larger, whether it was sized in pixels or points.
QFont EnlargedFont(const QFont& font, int extraPixels);

// Sets the font and installs the "qtbase_ja" translator (はい/いいえ on
// message box buttons). Returns false when the translation could not be
// loaded (the program still runs). The icon of `programFolder` comes later,
// from LoadApplicationIcon.
bool InitApplication(QApplication& app, const QString& programFolder);
// The edge in pixels of an icon file "velmora-<edge>.png"; 0 for any other name.
int IconFileSize(const QString& fileName);
// The largest icon given to the windows: title bars, task bars and window
// switchers draw at most 128 pixels (64 at twice the pixel ratio); larger
// sizes come from the icon theme through the desktop entry. Decoding the
// 256-pixel picture alone took three quarters of the icon's cost.
inline constexpr int kMaxWindowIconSize = 128;
// The window icon found in `programFolder` (velmora-<edge>.png up to
// kMaxWindowIconSize). The start-up sequence sets it once the menu is on
// screen: decoding them would otherwise hold up the first window.
void LoadApplicationIcon(const QString& programFolder);
