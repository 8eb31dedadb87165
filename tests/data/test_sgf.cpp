// The SGF reader: structure, escapes, positions of errors and its limits.
#include "sgf/sgf.h"

#include <QtTest>
#include <random>

class TestSgf : public QObject {
    Q_OBJECT

private slots:
    void structure();
    void valuesAndEscapes();
    void errors_data();
    void errors();
    void limits();
    void lineIndexMatchesLocationOf();
    void escapeRoundTrip();
    void garbageNeverCrashes();
};

void TestSgf::structure() {
    std::vector<sgf::Tree> trees;
    sgf::Error err;
    const std::string text =
        "\xEF\xBB\xBF  (;FF[4]AB[aa][bb:cc]\n;B[ab](;W[ba];B[ca])(;W[cc]))\r\n(;GN[x])\n";
    QVERIFY2(sgf::Parse(text, trees, err), err.message.c_str());
    QCOMPARE(trees.size(), std::size_t(2));
    const sgf::Tree& t = trees[0];
    QCOMPARE(t.nodes.size(), std::size_t(5));
    // Pre-order, children in written order.
    QCOMPARE(t.nodes[0].parent, -1);
    QCOMPARE(t.nodes[1].parent, 0);
    QCOMPARE(t.nodes[2].parent, 1);
    QCOMPARE(t.nodes[3].parent, 2);
    QCOMPARE(t.nodes[4].parent, 1);
    QCOMPARE(t.nodes[1].children, (std::vector<int>{2, 4}));
    const sgf::Property* ab = t.nodes[0].Find("AB");
    QVERIFY(ab);
    QCOMPARE(ab->values, (std::vector<std::string>{"aa", "bb:cc"}));
    QCOMPARE(t.nodes[3].Find("B")->values[0], std::string("ca"));
    QVERIFY(!t.nodes[3].Find("W"));
    QCOMPARE(trees[1].nodes.size(), std::size_t(1));
    // Offsets point at the ';' and the identifier.
    QCOMPARE(text[t.nodes[1].offset], ';');
    QCOMPARE(text.substr(ab->offset, 2), std::string("AB"));

    QVERIFY(sgf::Parse("", trees, err));
    QVERIFY(trees.empty());
    QVERIFY(sgf::Parse(" \n\t ", trees, err));
    QVERIFY(trees.empty());
}

void TestSgf::valuesAndEscapes() {
    std::vector<sgf::Tree> trees;
    sgf::Error err;
    QVERIFY(sgf::Parse("(;C[a\\]b\\\\c\\d]N[x\\\ny]GC[l1\r\nl2\rl3]LB[ab:(;)])", trees, err));
    const sgf::Node& n = trees[0].nodes[0];
    QCOMPARE(n.Find("C")->values[0], std::string("a]b\\cd"));
    QCOMPARE(n.Find("N")->values[0], std::string("xy")); // soft line break removed
    QCOMPARE(n.Find("GC")->values[0], std::string("l1\nl2\nl3"));
    QCOMPARE(n.Find("LB")->values[0], std::string("ab:(;)")); // brackets hide tree syntax
    // White space between values and properties.
    QVERIFY(sgf::Parse("( ; AB [aa] \n [bb] C [x] ; B [cc] )", trees, err));
    QCOMPARE(trees[0].nodes[0].Find("AB")->values.size(), std::size_t(2));
    QCOMPARE(trees[0].nodes[1].Find("B")->values[0], std::string("cc"));
}

void TestSgf::errors_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("message");

    QTest::newRow("tree not closed") << QByteArray("(;B[aa]") << 1 << 1 << "')' missing";
    QTest::newRow("inner variation not closed")
        << QByteArray("(;B[aa]\n  (;W[bb]") << 2 << 3 << "')' missing";
    QTest::newRow("value not closed") << QByteArray("(;B[aa]C[abc") << 1 << 9 << "']' missing";
    QTest::newRow("value ends in backslash") << QByteArray("(;C[ab\\") << 1 << 4 << "']' missing";
    QTest::newRow("lower-case name") << QByteArray("(;b[aa])") << 1 << 3 << "lower-case";
    QTest::newRow("mixed-case name") << QByteArray("(;Copyright[x])") << 1 << 4 << "lower-case";
    QTest::newRow("no node") << QByteArray("(B[aa])") << 1 << 2 << "';' expected";
    QTest::newRow("empty tree") << QByteArray("()") << 1 << 2 << "';' expected";
    QTest::newRow("text before tree") << QByteArray("x(;)") << 1 << 1 << "'(' expected";
    QTest::newRow("stray close") << QByteArray("(;))") << 1 << 4 << "'(' expected";
    QTest::newRow("node after variations")
        << QByteArray("(;B[aa](;W[bb]);B[cc])") << 1 << 16 << "node after variations";
    QTest::newRow("property twice") << QByteArray("(;B[aa]C[x]B[bb])") << 1 << 12 << "twice";
    QTest::newRow("value without name") << QByteArray("(;[aa])") << 1 << 3 << "without a property";
    QTest::newRow("name without value") << QByteArray("(;B)") << 1 << 4 << "has no value";
    QTest::newRow("stray character") << QByteArray("(;B[aa]*)") << 1 << 8 << "unexpected";
    QTest::newRow("column counts characters")
        << QByteArray("(;C[\xC3\xA9\xC3\xA9]\n;C[\xE7\x99\xBD]#)") << 2 << 6 << "unexpected";
    QTest::newRow("CR line breaks") << QByteArray("(;C[a]\r;C[b]\r\r;b)") << 4 << 2 << "lower-case";
}

void TestSgf::errors() {
    QFETCH(QByteArray, text);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(QString, message);
    std::vector<sgf::Tree> trees;
    sgf::Error err;
    QVERIFY(!sgf::Parse(std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
                        trees, err));
    QVERIFY(trees.empty());
    QVERIFY2(QString::fromStdString(err.message).contains(message), err.message.c_str());
    QCOMPARE(err.line, line);
    QCOMPARE(err.column, column);
}

void TestSgf::limits() {
    std::vector<sgf::Tree> trees;
    sgf::Error err;
    sgf::Limits small;
    small.maxNodes = 10;
    small.maxValueBytes = 8;
    small.maxTrees = 2;
    small.maxNesting = 4;
    small.maxBytes = 200;
    small.maxValuesPerProperty = 3;
    small.maxPropertiesPerNode = 3;

    QVERIFY(sgf::Parse("(;;;;;;;;;;)", trees, err, small));
    QVERIFY(!sgf::Parse("(;;;;;;;;;;;)", trees, err, small));
    QVERIFY(QString::fromStdString(err.message).contains("nodes"));
    QVERIFY(sgf::Parse("(;C[12345678])", trees, err, small));
    QVERIFY(!sgf::Parse("(;C[123456789])", trees, err, small));
    QVERIFY(!sgf::Parse("(;)(;)(;)", trees, err, small));
    QVERIFY(sgf::Parse("(;(;(;(;))))", trees, err, small));
    QVERIFY(!sgf::Parse("(;(;(;(;(;)))))", trees, err, small));
    QVERIFY(!sgf::Parse(std::string(201, ' '), trees, err, small));
    QVERIFY(!sgf::Parse("(;AB[aa][bb][cc][dd])", trees, err, small));
    QVERIFY(!sgf::Parse("(;A[]B[]C[]D[])", trees, err, small));

    // Deep nesting with the default limits fails cleanly instead of
    // exhausting the stack.
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "(;";
    QVERIFY(!sgf::Parse(deep, trees, err));
    QVERIFY(QString::fromStdString(err.message).contains("nested too deeply"));
    // A long main line is fine.
    std::string longLine = "(";
    for (int i = 0; i < 50000; ++i)
        longLine += ";B[aa]";
    longLine += ")";
    QVERIFY(sgf::Parse(longLine, trees, err));
    QCOMPARE(trees[0].nodes.size(), std::size_t(50000));
}

void TestSgf::lineIndexMatchesLocationOf() {
    const std::string text = "ab\r\ncd\ne\rf\xE3\x81\x82g\n\nh";
    const sgf::LineIndex index(text);
    for (std::size_t i = 0; i <= text.size() + 2; ++i) {
        const sgf::Location a = sgf::LocationOf(text, i);
        const sgf::Location b = index.At(i);
        QCOMPARE(b.line, a.line);
        QCOMPARE(b.column, a.column);
    }
    QCOMPARE(sgf::LocationOf(text, 4).line, 2);    // after CR LF
    QCOMPARE(sgf::LocationOf(text, 9).line, 4);    // after a lone CR
    QCOMPARE(sgf::LocationOf(text, 13).column, 3); // after one 3-byte character
}

void TestSgf::escapeRoundTrip() {
    const std::string values[] = {"plain", "a]b", "back\\slash", "x:y", "]]\\\\", ""};
    for (const std::string& v : values) {
        std::vector<sgf::Tree> trees;
        sgf::Error err;
        QVERIFY(sgf::Parse("(;C[" + sgf::Escape(v) + "])", trees, err));
        QCOMPARE(trees[0].nodes[0].Find("C")->values[0], v);
    }
    QCOMPARE(sgf::Escape("a:b", true), std::string("a\\:b"));
}

void TestSgf::garbageNeverCrashes() {
    // Random mixes of the syntax characters: the reader either succeeds or
    // reports an error inside the text, and never loops or crashes.
    std::mt19937 rng(12345);
    const char alphabet[] = "();[]\\ABW ab\n:";
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int len = static_cast<int>(rng() % 60);
        for (int i = 0; i < len; ++i)
            text += alphabet[rng() % (sizeof(alphabet) - 1)];
        std::vector<sgf::Tree> trees;
        sgf::Error err;
        if (!sgf::Parse(text, trees, err)) {
            QVERIFY(err.offset <= text.size());
            QVERIFY(!err.message.empty());
            QVERIFY(err.line >= 1 && err.column >= 1);
        } else {
            for (const sgf::Tree& t : trees)
                for (std::size_t n = 1; n < t.nodes.size(); ++n)
                    QVERIFY(t.nodes[n].parent >= 0 &&
                            static_cast<std::size_t>(t.nodes[n].parent) < n);
        }
    }
}

QTEST_APPLESS_MAIN(TestSgf)
#include "test_sgf.moc"
