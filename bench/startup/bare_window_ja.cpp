// A second yardstick: the bare window with one Japanese label in the
// interface's font, to tell Qt's own cost of Japanese text from ours.
#include <QApplication>
#include <QFont>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(13);
    font.setHintingPreference(QFont::PreferNoHinting);
    QApplication::setFont(font);
    QLabel label(QStringLiteral("詰碁を解きましょう"));
    label.setWindowTitle(QStringLiteral("bare-window"));
    label.resize(320, 120);
    label.show();
    return app.exec();
}
