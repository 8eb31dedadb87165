#include "frmSelQuestion.h"

#include "board/boardview.h"
#include "library/courses.h"
#include "library/draw.h"
#include "library/player.h"
#include "library/session.h"
#include "platform/platform.h"
#include "shell/accessibility.h"
#include "shell/controls.h"
#include "shell/keyboard.h"
#include "shell/router.h"
#include "shell/windowlook.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

namespace {

// Layout in twips (15 to a pixel).
constexpr int kRowStep = 560;
constexpr int kWindowW = 8850;
constexpr int kWindowH = 5760;
constexpr int kVolLeft = 450, kVolTop = 1320, kVolW = 3450, kVolH = 480;
constexpr int kNumTop = kVolTop + 60, kNumW = 900, kNumH = 360;
constexpr int kProbsLeft = 4200, kAnswerLeft = 5100, kCorrectLeft = 6000;
constexpr int kRatioLeft = 7050, kRatioW = 240;

QString Indexed(const char* name, int i) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i);
}

} // namespace

frmSelQuestion::frmSelQuestion(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmSelQuestion"));
    setWindowTitle(QStringLiteral("コース選択"));
    setFixedSize(TwipsToPixels(kWindowW), TwipsToPixels(kWindowH));

    lblDoing =
        MakeLabel(this, QStringLiteral("lblDoing"),
                  QStringLiteral("解答するコースを選んでください"), Twips(450, 300, 7950, 420));
    const Qt::Alignment centre = Qt::AlignCenter;
    lblZenmon = MakeLabel(this, QStringLiteral("lblZenmon"), QStringLiteral("全問"),
                          Twips(kProbsLeft, 840, kNumW, kNumH), centre);
    lblKaitou = MakeLabel(this, QStringLiteral("lblKaitou"), QStringLiteral("解答"),
                          Twips(kAnswerLeft, 840, kNumW, kNumH), centre);
    lblSeikai = MakeLabel(this, QStringLiteral("lblSeikai"), QStringLiteral("正解"),
                          Twips(kCorrectLeft, 840, kNumW, kNumH), centre);
    lblKaitouritu = MakeLabel(this, QStringLiteral("lblKaitouritu"), QStringLiteral("正解率"),
                              Twips(kRatioLeft, 840, 5 * kRatioW, kNumH), centre);

    // Element 0 of each array is the design's; the others are placed from it
    // while the rows are built.
    for (int i = 0; i < 7; ++i) {
        auto* b = new QPushButton(this);
        NameControl(b, Indexed("cmdVol", i), QString());
        b->setGeometry(Twips(kVolLeft, kVolTop + kRowStep * i, kVolW, kVolH));
        connect(b, &QPushButton::clicked, this, [this, i] { cmdVolClick(i); });
        cmdVol[static_cast<size_t>(i)] = b;
    }
    SetKeyboardButtons(this, cmdVol[6]); // 中止
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    for (int i = 0; i < 6; ++i) {
        const int top = kNumTop + kRowStep * i;
        lblProbs[static_cast<size_t>(i)] = MakeLabel(this, Indexed("lblProbs", i), QString(),
                                                     Twips(kProbsLeft, top, kNumW, kNumH), right);
        lblAnswer[static_cast<size_t>(i)] = MakeLabel(this, Indexed("lblAnswer", i), QString(),
                                                      Twips(kAnswerLeft, top, kNumW, kNumH), right);
        lblCorrect[static_cast<size_t>(i)] =
            MakeLabel(this, Indexed("lblCorrect", i), QString(),
                      Twips(kCorrectLeft, top, kNumW, kNumH), right);
        for (int k = 0; k < 5; ++k) {
            lblRatio[static_cast<size_t>(5 * i + k)] =
                MakeLabel(this, Indexed("lblRatio", 5 * i + k), QString(),
                          Twips(kRatioLeft + k * kRatioW, top, kRatioW, kNumH), centre);
        }
    }

    if (gPlayerCount > 0) {
        QString error;
        if (!LoadPlayerFile(gCurPlayer, &error)) FatalError(error);
    }
    ApplyWindowLook(this, QStringLiteral("kaede.bmp"), false);
    BuildCourseList();
}

void frmSelQuestion::BuildCourseList() {
    for (int i = 0; i < 6; ++i) {
        CourseInfo& c = gCourses[static_cast<size_t>(i)];
        const CourseStats st = CountCourseStats(i);
        c.StatTotal = st.total;
        c.StatAnswered = st.answered;
        c.StatCorrect = st.correct;

        QPushButton* b = cmdVol[static_cast<size_t>(i)];
        b->setText(c.Title);
        b->setAccessibleName(c.Title);

        const auto setNumber = [](QLabel* l, int n) {
            const QString text = QLatin1Char(' ') + QString::number(n);
            l->setText(text);
            l->setAccessibleName(text.trimmed());
        };
        setNumber(lblProbs[static_cast<size_t>(i)], c.StatTotal);
        setNumber(lblAnswer[static_cast<size_t>(i)], c.StatAnswered);
        setNumber(lblCorrect[static_cast<size_t>(i)], c.StatCorrect);

        const QString ratio = FormatRatio(c.StatCorrect, c.StatAnswered);
        for (int k = 0; k < 5; ++k) {
            QLabel* l = lblRatio[static_cast<size_t>(5 * i + k)];
            const QString ch = ratio.mid(k, 1);
            l->setText(ch);
            // Shown one character a box, read as one number: the first box
            // speaks for the row, the others are drawing only.
            if (k == 0) {
                const QString whole = ratio.trimmed();
                l->setAccessibleName(QStringLiteral("正解率 ") +
                                     (whole.isEmpty() || whole.startsWith(QLatin1Char('-'))
                                          ? QStringLiteral("なし")
                                          : whole));
                l->setAccessibleDescription(c.Title);
            } else {
                l->setAccessibleName(QString());
                SetAccessibleDecoration(l);
            }
        }
    }
    cmdVol[6]->setText(QStringLiteral("中止"));
    cmdVol[6]->setAccessibleName(QStringLiteral("中止"));
}

void frmSelQuestion::cmdVolClick(int index) {
    if (index < 0 || index > 6) return;
    if (index == 6) {
        BusyCursor busy;
        MyInitForm();
    } else {
        gCourse = static_cast<int16_t>(index);
        if (gMode == 2) {
            BusyCursor busy;
            OpenWindow(Role::Learn);
        } else if (gMode == 3) {
            BusyCursor busy;
            OpenWindow(Role::View);
        } else {
            CurrentPlatform().messageBox(QStringLiteral("トライアルモードを開始します"), this);
            BusyCursor busy;
            OpenWindow(Role::Trial);
        }
    }
    closingByCode_ = true;
    close();
}

void frmSelQuestion::closeEvent(QCloseEvent* event) {
    if (!closingByCode_) {
        MyInitForm();
        frmSource::Unload();
    }
    event->accept();
}
