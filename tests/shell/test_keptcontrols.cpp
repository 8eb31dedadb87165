// Labels, push buttons, option buttons and group boxes that keep what they
// drew: on screen they look as QLabel, QPushButton, QRadioButton and QGroupBox
// do in every state, pixel for pixel, and what they keep follows every change
// of text, state, size and colour.
#include "shell/appinit.h"
#include "shell/keptcontrols.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QtTest>
#include <memory>

namespace {

// A window-like parent with a background of its own, the control on it.
struct Stage {
    QWidget parent;
    explicit Stage(QSize size) {
        parent.resize(size + QSize(8, 8));
        QPalette pal = parent.palette();
        pal.setColor(QPalette::Window, QColor(200, 180, 120));
        parent.setPalette(pal);
        parent.setAutoFillBackground(true);
    }
    QImage shot() { return parent.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

struct LabelLook {
    QString text;
    Qt::Alignment align;
    bool wrap = false;
    bool opaque = false;
    QSize size;
};

// The largest difference of one colour channel between two pictures of the
// same size. Option buttons and group boxes are drawn with semi-transparent
// edges: laid over the background from a transparent picture they may round
// one step away from the same edges drawn straight onto it.
int MaxDiff(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return 256;
    int m = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            m = std::max({m, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q))});
        }
    return m;
}

template <typename Label> void Apply(Label* l, const LabelLook& look) {
    l->setText(look.text);
    l->setAlignment(look.align);
    l->setWordWrap(look.wrap);
    l->setGeometry(QRect(QPoint(4, 4), look.size));
    if (look.opaque) {
        QPalette pal = l->palette();
        pal.setColor(QPalette::Window, Qt::white);
        l->setPalette(pal);
        l->setAutoFillBackground(true);
    }
}

} // namespace

Q_DECLARE_METATYPE(LabelLook)

class TestKeptControls : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QFont font(QString::fromLatin1(kUiFontFamily));
        font.setPixelSize(kUiFontPixelSize);
        QApplication::setFont(font);
    }

    void labelLooksAsQLabel_data() {
        QTest::addColumn<LabelLook>("look");
        const Qt::Alignment leftCentre = Qt::AlignLeft | Qt::AlignVCenter;
        QTest::newRow("one line") << LabelLook{
            "黒先で白を殺してください", leftCentre, false, false, {233, 21}};
        QTest::newRow("right") << LabelLook{
            "#12", Qt::AlignRight | Qt::AlignVCenter, false, false, {65, 25}};
        QTest::newRow("centred") << LabelLook{"次の手", Qt::AlignCenter, false, false, {57, 19}};
        QTest::newRow("bottom") << LabelLook{
            "白番", Qt::AlignLeft | Qt::AlignBottom, false, false, {60, 40}};
        QTest::newRow("wrapped") << LabelLook{"正解です。『白死』になりました。黒先で白を殺して"
                                              "ください。何度でもやり直せます。",
                                              Qt::AlignLeft | Qt::AlignTop,
                                              true,
                                              false,
                                              {233, 109}};
        QTest::newRow("line break")
            << LabelLook{"一行目\n二行目", Qt::AlignLeft | Qt::AlignTop, false, false, {120, 60}};
        QTest::newRow("white box") << LabelLook{"第１問", leftCentre, false, true, {89, 25}};
        QTest::newRow("wider than the label") << LabelLook{
            "とても長い説明文がラベルの幅を超えてはみ出す", leftCentre, false, false, {80, 21}};
    }
    void labelLooksAsQLabel() {
        QFETCH(LabelLook, look);
        Stage plain(look.size);
        Stage kept(look.size);
        auto* q = new QLabel(&plain.parent);
        auto* t = new TextLabel(&kept.parent);
        Apply(q, look);
        Apply(t, look);
        const QImage expected = plain.shot();
        const QImage got = kept.shot();
        QVERIFY(t->drewKeptText());
        QCOMPARE(got, expected);
        QVERIFY(expected != Stage(look.size).shot()); // the text was drawn at all
    }

    // What a label keeps follows its text, its size and its colour.
    void labelFollowsChanges() {
        Stage plain({120, 24});
        Stage kept({120, 24});
        auto* q = new QLabel(QStringLiteral("#1"), &plain.parent);
        auto* t = new TextLabel(QStringLiteral("#1"), &kept.parent);
        for (QLabel* l : {q, static_cast<QLabel*>(t)})
            l->setGeometry(4, 4, 120, 24);
        const QImage first = kept.shot();
        const auto same = [&] { return plain.shot() == kept.shot(); };
        QVERIFY(same());
        for (QLabel* l : {q, static_cast<QLabel*>(t)})
            l->setText(QStringLiteral("#1000"));
        QVERIFY(same());
        QVERIFY(kept.shot() != first);
        for (QLabel* l : {q, static_cast<QLabel*>(t)})
            l->setGeometry(4, 4, 60, 24);
        for (QLabel* l : {q, static_cast<QLabel*>(t)})
            l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QVERIFY(same());
        for (QLabel* l : {q, static_cast<QLabel*>(t)}) {
            QPalette pal = l->palette();
            pal.setColor(QPalette::WindowText, QColor(200, 0, 0));
            l->setPalette(pal);
        }
        QVERIFY(same());
        for (QLabel* l : {q, static_cast<QLabel*>(t)})
            l->clear();
        QVERIFY(same());
        QCOMPARE(kept.shot(), Stage({120, 24}).shot());
    }

    // Rich text, a style sheet, a frame or a disabled label: QLabel's own
    // drawing serves, and the label looks exactly as a QLabel.
    void labelLeavesOtherCasesToQLabel_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("rich text") << 0;
        QTest::newRow("style sheet") << 1;
        QTest::newRow("frame") << 2;
        QTest::newRow("disabled") << 3;
    }
    void labelLeavesOtherCasesToQLabel() {
        QFETCH(int, kind);
        Stage plain({100, 24});
        Stage kept({100, 24});
        auto* q = new QLabel(&plain.parent);
        auto* t = new TextLabel(&kept.parent);
        for (QLabel* l : {q, static_cast<QLabel*>(t)}) {
            l->setGeometry(4, 4, 100, 24);
            l->setText(kind == 0 ? QStringLiteral("<b>太字</b>") : QStringLiteral("文字"));
            if (kind == 1) l->setStyleSheet(QStringLiteral("color: rgb(0, 96, 255);"));
            if (kind == 2) l->setFrameStyle(QFrame::Box | QFrame::Plain);
            if (kind == 3) l->setEnabled(false);
        }
        QCOMPARE(kept.shot(), plain.shot());
        QVERIFY(!t->drewKeptText());
    }

    void buttonLooksAsQPushButton_data() {
        QTest::addColumn<int>("state");
        QTest::newRow("plain") << 0;
        QTest::newRow("pressed") << 1;
        QTest::newRow("disabled") << 2;
        QTest::newRow("default") << 3;
        QTest::newRow("picture") << 4;
        QTest::newRow("checked") << 5;
    }
    void buttonLooksAsQPushButton() {
        QFETCH(int, state);
        Stage plain({125, 29});
        Stage kept({125, 29});
        auto* q = new QPushButton(QStringLiteral("次問"), &plain.parent);
        auto* t = new TextButton(QStringLiteral("次問"), &kept.parent);
        QPixmap picture(24, 16);
        picture.fill(QColor(30, 120, 60));
        for (QPushButton* b : {q, static_cast<QPushButton*>(t)}) {
            b->setGeometry(4, 4, 125, 29);
            if (state == 1) b->setDown(true);
            if (state == 2) b->setEnabled(false);
            if (state == 3) b->setDefault(true);
            if (state == 4) {
                b->setText(QString());
                b->setIcon(QIcon(picture));
                b->setIconSize(picture.size());
            }
            if (state == 5) {
                b->setCheckable(true);
                b->setChecked(true);
            }
        }
        QCOMPARE(kept.shot(), plain.shot());
        QVERIFY(t->drewKeptPicture());
        // Back to the plain state: the kept picture follows.
        for (QPushButton* b : {q, static_cast<QPushButton*>(t)}) {
            b->setDown(false);
            b->setEnabled(true);
            b->setDefault(false);
            b->setChecked(false);
            b->setText(QStringLiteral("前問"));
        }
        QCOMPARE(kept.shot(), plain.shot());
    }

    // The view window's option buttons in every state they take, and after
    // a change back: as QRadioButton draws them.
    void radioLooksAsQRadioButton_data() {
        QTest::addColumn<int>("state");
        QTest::newRow("plain") << 0;
        QTest::newRow("checked") << 1;
        QTest::newRow("disabled") << 2;
        QTest::newRow("checked and disabled") << 3;
        QTest::newRow("pressed") << 4;
    }
    void radioLooksAsQRadioButton() {
        QFETCH(int, state);
        Stage plain({213, 21});
        Stage kept({213, 21});
        auto* q = new QRadioButton(QStringLiteral("正解"), &plain.parent);
        auto* t = new TextRadio(QStringLiteral("正解"), &kept.parent);
        const QList<QRadioButton*> both{q, t};
        for (QRadioButton* b : both) {
            b->setGeometry(4, 4, 213, 21);
            b->setChecked(state == 1 || state == 3);
            if (state == 2 || state == 3) b->setEnabled(false);
            if (state == 4) b->setDown(true);
        }
        QVERIFY(MaxDiff(kept.shot(), plain.shot()) <= 1);
        QVERIFY(MaxDiff(kept.shot(), Stage({213, 21}).shot()) > 100); // drawn at all
        QVERIFY(t->drewKeptPicture());
        for (QRadioButton* b : both) {
            b->setDown(false);
            b->setEnabled(true);
            b->setChecked(!b->isChecked());
            b->setText(QStringLiteral("変化図１"));
        }
        QVERIFY(MaxDiff(kept.shot(), plain.shot()) <= 1);
    }

    void groupBoxLooksAsQGroupBox_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("titled") << QStringLiteral("変化図") << true;
        QTest::newRow("disabled") << QStringLiteral("変化図") << false;
        QTest::newRow("no title") << QString() << true;
    }
    void groupBoxLooksAsQGroupBox() {
        QFETCH(QString, title);
        QFETCH(bool, enabled);
        Stage plain({225, 125});
        Stage kept({225, 125});
        auto* q = new QGroupBox(title, &plain.parent);
        auto* t = new TextGroupBox(title, &kept.parent);
        for (QGroupBox* g : {q, static_cast<QGroupBox*>(t)}) {
            g->setGeometry(4, 4, 225, 125);
            g->setEnabled(enabled);
        }
        QVERIFY(MaxDiff(kept.shot(), plain.shot()) <= 1);
        QVERIFY(MaxDiff(kept.shot(), Stage({225, 125}).shot()) > 0); // drawn at all
        QVERIFY(t->drewKeptPicture());
        // A new title and size are drawn again.
        for (QGroupBox* g : {q, static_cast<QGroupBox*>(t)}) {
            g->setTitle(QStringLiteral("正解と変化"));
            g->resize(180, 90);
        }
        QVERIFY(MaxDiff(kept.shot(), plain.shot()) <= 1);
        // A style sheet is left to QGroupBox itself.
        for (QGroupBox* g : {q, static_cast<QGroupBox*>(t)})
            g->setStyleSheet(QStringLiteral("QGroupBox { color: rgb(0, 96, 255); }"));
        QCOMPARE(kept.shot(), plain.shot());
        QVERIFY(!t->drewKeptPicture());
    }
};

QTEST_MAIN(TestKeptControls)
#include "test_keptcontrols.moc"
