// The help window (frmHelp): the program's own Japanese guide in a text
// browser, opened from the menu's ヘルプ → 使い方.
#pragma once

#include <QString>
#include <QWidget>

class QPushButton;
class QTextBrowser;

// The guide as HTML: the modes, how answers are judged, what the outcome
// names mean and the keys.
QString HelpPageHtml();

class frmHelp : public QWidget {
    Q_OBJECT
public:
    explicit frmHelp(QWidget* parent = nullptr);

    QTextBrowser* txtHelp = nullptr;
    QPushButton* cmdClose = nullptr;
};
