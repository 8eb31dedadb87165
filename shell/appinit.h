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
// The window icon found in `programFolder` (velmora*.png, every size). The
// start-up sequence sets it once the menu is on screen: decoding the large
// sizes would otherwise hold up the first window.
void LoadApplicationIcon(const QString& programFolder);
