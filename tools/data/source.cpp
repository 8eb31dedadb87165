#include "source.h"

#include "library/files.h"
#include "rules/outcome.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <set>

namespace {

// Standard SGF properties that carry nothing for us; they are accepted and
// ignored wherever they stand.
const std::set<std::string_view>& IgnoredProperties() {
    static const std::set<std::string_view> names = {
        "FF", "GM", "AP", "ST", "GN", "C",  "N",  "GC", "DT", "PC", "SO", "US", "AN", "CP", "RU",
        "KM", "HA", "RE", "PB", "PW", "BR", "WR", "BT", "WT", "EV", "RO", "TM", "OT", "ON", "OW",
        "BL", "WL", "V",  "BM", "DO", "IT", "TE", "GB", "GW", "DM", "UC", "HO", "LB", "TR", "SQ",
        "CR", "MA", "SL", "AR", "LN", "DD", "VW", "FG", "PM", "TB", "TW", "MN", "KO", "KC"};
    return names;
}

bool IsRootProperty(std::string_view id) {
    return id == "SZ" || id == "PL" || id == "AB" || id == "AW" || id == "AE" || id == "VS" ||
           id == "HF" || id == "DF" || id == "PP" || id == "CM" || id == "CA" || id == "GL";
}

bool IsMoveProperty(std::string_view id) {
    return id == "B" || id == "W" || id == "OC" || id == "OB" || id == "RP" || id == "NN" ||
           id == "WA";
}

QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A decimal number in 0..max, surrounding blanks allowed.
bool ParseNumber(const std::string& value, int max, int& out) {
    std::size_t b = 0;
    std::size_t e = value.size();
    while (b < e && (value[b] == ' ' || value[b] == '\t'))
        ++b;
    while (e > b && (value[e - 1] == ' ' || value[e - 1] == '\t'))
        --e;
    if (b < e && value[b] == '+') ++b;
    if (b == e || e - b > 6) return false;
    int v = 0;
    for (std::size_t i = b; i < e; ++i) {
        if (value[i] < '0' || value[i] > '9') return false;
        v = v * 10 + (value[i] - '0');
    }
    if (v > max) return false;
    out = v;
    return true;
}

// "xy" with both letters a..s.
bool ParsePoint(std::string_view value, int& x, int& y) {
    if (value.size() != 2) return false;
    x = value[0] - 'a';
    y = value[1] - 'a';
    return x >= 0 && x < kBoardSize && y >= 0 && y < kBoardSize;
}

// Offset of the first byte that does not belong to a well-formed UTF-8
// sequence, or npos.
std::size_t FirstInvalidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        int extra;
        unsigned int min;
        unsigned int cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            min = 0x80;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            min = 0x800;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            min = 0x10000;
            cp = c & 0x07;
        } else {
            return i;
        }
        if (i + static_cast<std::size_t>(extra) >= s.size()) return i;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char d = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((d & 0xC0) != 0x80) return i;
            cp = (cp << 6) | (d & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return i;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return std::string_view::npos;
}

class TreeReader {
public:
    TreeReader(std::string_view text, const sgf::LineIndex& lines, const sgf::Tree& tree,
               DataSet set, const QString& file, int number, std::vector<Diagnostic>& diags)
        : text_(text), lines_(lines), tree_(tree), set_(set), file_(file), number_(number),
          diags_(diags) {}

    bool Read(SourceProblem& out);

private:
    QString Where(std::size_t offset) const {
        const sgf::Location loc = lines_.At(offset);
        return QStringLiteral("%1:%2:%3").arg(file_).arg(loc.line).arg(loc.column);
    }
    void Fault(std::size_t offset, const QString& message) {
        diags_.push_back({false, Where(offset), number_, message});
        failed_ = true;
    }
    void Warn(std::size_t offset, const QString& message) {
        diags_.push_back({true, Where(offset), number_, message});
    }
    // The single value of a property, or a fault.
    const std::string* Single(const sgf::Property& prop) {
        if (prop.values.size() != 1) {
            Fault(prop.offset, QStringLiteral("%1 takes one value").arg(Q(prop.ident)));
            return nullptr;
        }
        return &prop.values[0];
    }
    bool Number(const sgf::Property& prop, int max, int& out, const QString& what) {
        const std::string* v = Single(prop);
        if (!v) return false;
        if (!ParseNumber(*v, max, out)) {
            Fault(prop.offset, QStringLiteral("%1[%2]: %3").arg(Q(prop.ident), Q(*v), what));
            return false;
        }
        return true;
    }
    void ReadRoot(Problem& p, QString& comment);
    void ReadSetup(const sgf::Property& prop, int colour, Board& board);
    int ReadOutcome(const sgf::Property& prop);

    std::string_view text_;
    const sgf::LineIndex& lines_;
    const sgf::Tree& tree_;
    DataSet set_;
    QString file_;
    int number_;
    std::vector<Diagnostic>& diags_;
    bool failed_ = false;
    bool dfMissing_ = false;
};

void TreeReader::ReadSetup(const sgf::Property& prop, int colour, Board& board) {
    for (const std::string& v : prop.values) {
        int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        const std::size_t colon = v.find(':');
        bool ok;
        if (colon == std::string::npos) {
            ok = ParsePoint(v, x1, y1);
            x2 = x1;
            y2 = y1;
        } else {
            ok = ParsePoint(std::string_view(v).substr(0, colon), x1, y1) &&
                 ParsePoint(std::string_view(v).substr(colon + 1), x2, y2);
        }
        if (!ok) {
            Fault(prop.offset, QStringLiteral("%1[%2] is not a point of the 19x19 board")
                                   .arg(Q(prop.ident), Q(v)));
            continue;
        }
        for (int y = std::min(y1, y2); y <= std::max(y1, y2); ++y)
            for (int x = std::min(x1, x2); x <= std::max(x1, x2); ++x) {
                int16_t& point = board[static_cast<std::size_t>(x + 19 * y)];
                if (point != kEmpty) {
                    Fault(prop.offset, QStringLiteral("%1: point %2%3 is set twice")
                                           .arg(Q(prop.ident))
                                           .arg(QChar('a' + x))
                                           .arg(QChar('a' + y)));
                    continue;
                }
                point = static_cast<int16_t>(colour);
            }
    }
}

void TreeReader::ReadRoot(Problem& p, QString& comment) {
    const sgf::Node& root = tree_.nodes[0];
    bool haveVs = false;
    bool havePp = false;
    bool haveDf = false;
    const sgf::Property* hf = nullptr;
    const sgf::Property* goal = nullptr; // GL, the goal of an aim-0 problem
    int goalFlag = -1;                   // 0 connect, 1 cut
    for (const sgf::Property& prop : root.props) {
        const std::string& id = prop.ident;
        int v = 0;
        if (id == "SZ") {
            const std::string* s = Single(prop);
            if (s && !(ParseNumber(*s, 99, v) && v == 19))
                Fault(prop.offset, QStringLiteral("SZ[%1]: the board is always 19x19").arg(Q(*s)));
        } else if (id == "PL") {
            const std::string* s = Single(prop);
            if (s && *s != "B")
                Fault(prop.offset, QStringLiteral("PL[%1]: Black always plays first").arg(Q(*s)));
        } else if (id == "CA") {
            const std::string* s = Single(prop);
            if (s) {
                const QString cs = Q(*s).trimmed().toUpper();
                if (cs != QLatin1String("UTF-8") && cs != QLatin1String("UTF8"))
                    Fault(prop.offset, QStringLiteral("CA[%1]: sources must be UTF-8").arg(Q(*s)));
            }
        } else if (id == "AB") {
            ReadSetup(prop, kBlack, p.gInitBoard);
        } else if (id == "AW") {
            ReadSetup(prop, kWhite, p.gInitBoard);
        } else if (id == "AE") {
            Fault(prop.offset,
                  QStringLiteral("AE is not supported: leave the points out of AB/AW"));
        } else if (id == "VS") {
            haveVs = true;
            if (Number(prop, 19, v, QStringLiteral("ViewSize must be 1-19"))) {
                if (v < 1)
                    Fault(prop.offset, QStringLiteral("VS[0]: ViewSize must be 1-19"));
                else
                    p.ViewSize = static_cast<int16_t>(v);
            }
        } else if (id == "GL") {
            goal = &prop;
            const std::string* s = Single(prop);
            if (s && (*s == "connect" || *s == "cut"))
                goalFlag = *s == "cut" ? 1 : 0;
            else if (s)
                Fault(prop.offset, QStringLiteral("GL[%1]: the goal is connect or cut").arg(Q(*s)));
        } else if (id == "HF") {
            hf = &prop;
            if (Number(prop, 1, v, QStringLiteral("HeadFlag must be 0 or 1")))
                p.HeadFlag = static_cast<int16_t>(v);
        } else if (id == "DF") {
            haveDf = true;
            if (Number(prop, 31, v, QStringLiteral("Difficulty must be 10, 20 or 30")))
                p.Difficulty = static_cast<int16_t>(v);
            else
                dfMissing_ = true; // already reported
        } else if (id == "PP") {
            havePp = true;
            if (Number(prop, 7, v,
                       QStringLiteral("the aim must be 0 one move, 1 live, 2 kill or 3 race")))
                p.ProbPurpose = static_cast<int16_t>(v);
        } else if (id == "CM") {
            const std::string* s = Single(prop);
            if (!s) continue;
            if (set_ == DataSet::Abc) {
                Warn(prop.offset, QStringLiteral("CM is only used in s1 and s2; ignored"));
                continue;
            }
            const QString text = Q(*s);
            bool ok = true;
            EncodeSjis(text, &ok);
            if (text.contains(QLatin1Char('\n')))
                Fault(prop.offset, QStringLiteral("CM must be a single line"));
            else if (text.contains(QLatin1Char('"')))
                Fault(prop.offset, QStringLiteral("CM must not contain '\"'"));
            else if (!ok)
                Fault(prop.offset, QStringLiteral("CM holds characters Shift-JIS cannot store"));
            else if (text != text.trimmed())
                Fault(prop.offset, QStringLiteral("CM must not begin or end with blanks"));
            else
                comment = text;
        } else if (id == "B" || id == "W") {
            Fault(prop.offset,
                  QStringLiteral(
                      "the root node must not carry a move; start the moves in the next node"));
        } else if (IsMoveProperty(id)) {
            Fault(prop.offset,
                  QStringLiteral("%1 belongs on a move node, not the root").arg(Q(id)));
        } else if (!IgnoredProperties().count(id)) {
            Warn(prop.offset, QStringLiteral("unknown property %1 ignored").arg(Q(id)));
        }
    }
    if (!haveVs) {
        Fault(root.offset, QStringLiteral("VS (ViewSize) missing in the root"));
        p.ViewSize = kBoardSize; // keep the other checks quiet about it
    }
    if (!havePp) Fault(root.offset, QStringLiteral("PP (aim) missing in the root"));
    // An aim-0 problem ("play one move") names its goal; the compiled
    // problem keeps it in HeadFlag, which the program never reads.
    if (havePp && p.ProbPurpose == 0) {
        if (!goal)
            Fault(root.offset, QStringLiteral("PP[0] needs its goal: GL[connect] or GL[cut]"));
        else if (hf)
            Fault(hf->offset,
                  QStringLiteral("HF is not given with PP[0]: GL[%1] sets it")
                      .arg(goalFlag == 1 ? QStringLiteral("cut") : QStringLiteral("connect")));
        if (goalFlag >= 0) p.HeadFlag = static_cast<int16_t>(goalFlag);
    } else if (goal) {
        Fault(goal->offset, QStringLiteral("GL (the goal) belongs to PP[0] problems only"));
    }
    if (!haveDf && set_ == DataSet::Abc) {
        Fault(root.offset, QStringLiteral("DF (Difficulty) missing in the root"));
        dfMissing_ = true;
    }
}

int TreeReader::ReadOutcome(const sgf::Property& prop) {
    const std::string* s = Single(prop);
    if (!s) return -1;
    int v = 0;
    if (ParseNumber(*s, 127, v)) return v;
    const QString name = Q(*s).trimmed();
    for (const OutcomeRowInfo& row : OutcomeTable)
        if (row.name == name) return row.klass;
    Fault(
        prop.offset,
        QStringLiteral("OC[%1] is neither a class number (0-127) nor an outcome name").arg(Q(*s)));
    return -1;
}

bool TreeReader::Read(SourceProblem& out) {
    out = SourceProblem();
    Problem& p = out.problem;
    ReadRoot(p, out.comment);

    const std::size_t count = tree_.nodes.size() - 1;
    if (count > static_cast<std::size_t>(kMaxNodes)) {
        Fault(tree_.nodes[0].offset,
              QStringLiteral("%1 move nodes: at most 1000 are allowed").arg(count));
        return false;
    }

    // Node numbers: NN on every move node, else pre-order (the written order).
    std::vector<int> number(tree_.nodes.size(), -1);
    std::size_t withNn = 0;
    for (std::size_t i = 1; i < tree_.nodes.size(); ++i)
        if (tree_.nodes[i].Find("NN")) ++withNn;
    if (withNn == count && count > 0) {
        std::vector<bool> used(count, false);
        for (std::size_t i = 1; i < tree_.nodes.size(); ++i) {
            const sgf::Property& nn = *tree_.nodes[i].Find("NN");
            int v = 0;
            if (!Number(nn, static_cast<int>(count) - 1, v,
                        QStringLiteral("node numbers must run from 0 to %1").arg(count - 1)))
                continue;
            if (used[static_cast<std::size_t>(v)]) {
                Fault(nn.offset, QStringLiteral("NN[%1] is given twice").arg(v));
                continue;
            }
            used[static_cast<std::size_t>(v)] = true;
            number[i] = v;
        }
    } else {
        if (withNn > 0)
            Warn(tree_.nodes[0].offset,
                 QStringLiteral("NN on %1 of %2 move nodes only: ignored, nodes numbered in "
                                "written order")
                     .arg(withNn)
                     .arg(count));
        for (std::size_t i = 1; i < tree_.nodes.size(); ++i)
            number[i] = static_cast<int>(i) - 1;
    }
    if (failed_) return false;

    p.hands = static_cast<int16_t>(count);
    std::vector<int> depth(tree_.nodes.size(), 0);
    std::vector<std::size_t> nodeOffset(count, 0);
    std::vector<bool> waits(count, false);
    for (std::size_t i = 1; i < tree_.nodes.size(); ++i) {
        const sgf::Node& node = tree_.nodes[i];
        const std::size_t parent = static_cast<std::size_t>(node.parent);
        depth[i] = depth[parent] + 1;
        const int n = number[i];
        const std::size_t un = static_cast<std::size_t>(n);
        nodeOffset[un] = node.offset;
        p.prev[un] = parent == 0 ? kRoot : static_cast<int16_t>(number[parent]);

        const sgf::Property* b = node.Find("B");
        const sgf::Property* w = node.Find("W");
        if (!b && !w) {
            Fault(node.offset, QStringLiteral("a node below the root must carry a move (B or W)"));
        } else if (b && w) {
            Fault(node.offset, QStringLiteral("a node carries both B and W"));
        } else {
            const sgf::Property& move = b ? *b : *w;
            const bool blackToPlay = depth[i] % 2 == 1;
            const std::string* v = Single(move);
            int x = 0, y = 0;
            if (!v) {
            } else if (v->empty() || *v == "tt") {
                Fault(move.offset,
                      QStringLiteral("%1[%2]: passes are not allowed").arg(Q(move.ident), Q(*v)));
            } else if (!ParsePoint(*v, x, y)) {
                Fault(move.offset, QStringLiteral("%1[%2] is not a point of the 19x19 board")
                                       .arg(Q(move.ident), Q(*v)));
            } else if ((b != nullptr) != blackToPlay) {
                Fault(move.offset,
                      QStringLiteral("%1[%2]: colours do not alternate, %3 is to play here")
                          .arg(Q(move.ident), Q(*v),
                               blackToPlay ? QStringLiteral("Black") : QStringLiteral("White")));
            } else {
                p.x[un] = static_cast<uint8_t>(x);
                p.y[un] = static_cast<uint8_t>(y);
            }
        }

        for (const sgf::Property& prop : node.props) {
            const std::string& id = prop.ident;
            int v = 0;
            if (id == "B" || id == "W" || id == "NN") {
                continue;
            } else if (id == "OC") {
                const int klass = ReadOutcome(prop);
                if (klass >= 0) p.code[un] = static_cast<uint8_t>(klass);
            } else if (id == "OB") {
                if (Number(prop, 1, v, QStringLiteral("best must be 0 or 1")))
                    p.best[un] = static_cast<uint8_t>(v);
            } else if (id == "RP") {
                if (Number(prop, 255, v, QStringLiteral("the line mark must be 0-255")))
                    p.repl[un] = static_cast<uint8_t>(v);
            } else if (id == "WA") {
                // White waits: a wrong Black move White need not answer.
                if (!Number(prop, 1, v, QStringLiteral("WA must be 0 or 1")) || v == 0) continue;
                if (!b || !node.children.empty())
                    Fault(prop.offset,
                          QStringLiteral(
                              "WA (White waits) belongs on a Black move that ends its line"));
                else
                    waits[un] = true;
            } else if (id == "AB" || id == "AW" || id == "AE") {
                Fault(prop.offset,
                      QStringLiteral("setup stones (%1) are only allowed in the root").arg(Q(id)));
            } else if (IsRootProperty(id)) {
                Fault(prop.offset, QStringLiteral("%1 belongs in the root").arg(Q(id)));
            } else if (!IgnoredProperties().count(id)) {
                Warn(prop.offset, QStringLiteral("unknown property %1 ignored").arg(Q(id)));
            }
        }
    }
    if (failed_) return false;

    for (const ProblemFault& f : CheckProblem(p, set_, waits)) {
        if (f.node < 0 && dfMissing_ && f.message.startsWith(QLatin1String("DF "))) continue;
        const std::size_t offset =
            f.node >= 0 ? nodeOffset[static_cast<std::size_t>(f.node)] : tree_.nodes[0].offset;
        QString message = f.message;
        if (f.node >= 0) message = QStringLiteral("%1: %2").arg(MoveText(p, f.node), message);
        if (f.warning)
            Warn(offset, message);
        else
            Fault(offset, message);
    }
    return !failed_;
}

} // namespace

bool ProblemFromTree(std::string_view text, const sgf::LineIndex& lines, const sgf::Tree& tree,
                     DataSet set, const QString& file, int number, SourceProblem& out,
                     std::vector<Diagnostic>& diags) {
    TreeReader reader(text, lines, tree, set, file, number, diags);
    const bool ok = reader.Read(out);
    out.file = file;
    return ok;
}

bool ProblemsFromSource(const QByteArray& bytes, DataSet set, const QString& file,
                        std::vector<SourceProblem>& out, std::vector<Diagnostic>& diags) {
    const std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const std::size_t bad = FirstInvalidUtf8(text);
    if (bad != std::string_view::npos) {
        const sgf::Location loc = sgf::LocationOf(text, bad);
        diags.push_back({false, QStringLiteral("%1:%2:%3").arg(file).arg(loc.line).arg(loc.column),
                         0, QStringLiteral("the file is not UTF-8")});
        return false;
    }
    std::vector<sgf::Tree> trees;
    sgf::Error error;
    if (!sgf::Parse(text, trees, error)) {
        diags.push_back({false,
                         QStringLiteral("%1:%2:%3").arg(file).arg(error.line).arg(error.column), 0,
                         QString::fromStdString(error.message)});
        return false;
    }
    if (trees.empty())
        diags.push_back({true, file, 0, QStringLiteral("the file holds no game tree")});
    const sgf::LineIndex lines(text);
    bool ok = true;
    int treeNo = 0;
    for (const sgf::Tree& tree : trees) {
        ++treeNo;
        SourceProblem problem;
        if (!ProblemFromTree(text, lines, tree, set, file, static_cast<int>(out.size()) + 1,
                             problem, diags))
            ok = false;
        problem.tree = treeNo;
        out.push_back(std::move(problem)); // keeps the numbering of later trees right
    }
    return ok;
}

QStringList SourceFiles(const QString& folder) {
    QDir dir(folder);
    if (!dir.exists()) return {};
    QStringList names;
    for (const QFileInfo& info :
         dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (info.fileName().endsWith(QLatin1String(".sgf"), Qt::CaseInsensitive) &&
            !info.fileName().startsWith(QLatin1Char('.')))
            names << info.fileName();
    }
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.toUtf8() < b.toUtf8(); });
    QStringList paths;
    for (const QString& n : names)
        paths << dir.filePath(n);
    return paths;
}

bool ReadSourceFolder(const QString& folder, DataSet set, std::vector<SourceProblem>& out,
                      std::vector<Diagnostic>& diags) {
    bool ok = true;
    for (const QString& path : SourceFiles(folder)) {
        QString error;
        const auto bytes = ReadFileBounded(path, 8 << 20, &error);
        if (!bytes) {
            diags.push_back({false, path, 0, error});
            ok = false;
            continue;
        }
        if (!ProblemsFromSource(*bytes, set, path, out, diags)) ok = false;
    }
    return ok;
}
