// The yardstick for start-up: a bare Qt Widgets window with one label.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Hello"));
    label.setWindowTitle(QStringLiteral("bare-window"));
    label.resize(320, 120);
    label.show();
    return app.exec();
}
