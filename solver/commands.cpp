#include "commands.h"

#include "grow.h"
#include "library/files.h"
#include "library/problem.h"
#include "order.h"
#include "prove.h"
#include "rules/outcome.h"

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace velsolver;

namespace {

void Print(FILE* f, const QString& s) {
    const QByteArray b = s.toUtf8();
    std::fwrite(b.constData(), 1, static_cast<size_t>(b.size()), f);
    std::fputc('\n', f);
    std::fflush(f);
}

// Reads "--limit-ms N" out of the arguments; false on a bad value.
bool TakeLimit(QStringList& args, int& limitMs) {
    for (int i = 0; i < args.size(); ++i) {
        QString a = args[i];
        QString value;
        if (a.startsWith(QStringLiteral("--limit-ms="))) {
            value = a.mid(11);
            args.removeAt(i);
        } else if (a == QStringLiteral("--limit-ms")) {
            if (i + 1 >= args.size()) return false;
            value = args[i + 1];
            args.remove(i, 2);
        } else {
            continue;
        }
        bool ok = false;
        limitMs = value.toInt(&ok);
        if (!ok || limitMs <= 0) return false;
        --i;
    }
    return true;
}

// Takes "--resist-moves N" (N >= 0) out of `args`; false when it is malformed.
bool TakeResist(QStringList& args, int& resistMoves) {
    const int at = static_cast<int>(args.indexOf(QStringLiteral("--resist-moves")));
    if (at < 0) return true;
    if (at + 1 >= args.size()) return false;
    bool ok = false;
    resistMoves = args[at + 1].toInt(&ok);
    args.remove(at, 2);
    return ok && resistMoves >= 0;
}

// How an answer found with a frame stands, for the summary line.
QString FrameNote(const SolveReport& r, int frame) {
    switch (r.frame) {
    case SolveReport::Frame::Holds:
        return QStringLiteral(", framed %1 out (a life holds whatever the outside)").arg(frame);
    case SolveReport::Frame::Confirmed:
        return QStringLiteral(", framed %1 and %2 out alike").arg(frame).arg(frame + 1);
    case SolveReport::Frame::Unchecked:
        return QStringLiteral(", framed %1 out (not checked: a frame %2 out is beyond the limit)")
            .arg(frame)
            .arg(frame + 1);
    case SolveReport::Frame::None:
        break;
    }
    return {};
}

int SetProblemCount(const QString& folder, const QString& set) {
    const QFileInfo dr(DataFile(set + QStringLiteral(".dr"), folder));
    if (!dr.exists()) return -1;
    return static_cast<int>(dr.size() / 4);
}

// The problems a command over the shipped sets goes through:
// "DATA_DIR [SET [N]]" with the options taken out.
struct SetChoice {
    QString folder;
    QStringList sets = {QStringLiteral("abc"), QStringLiteral("s1"), QStringLiteral("s2")};
    int only = 0; // one problem, counted from 1 (0 every one)
};

// Reads "DATA_DIR [SET [N]]"; prints what is wrong and returns false.
bool TakeSetChoice(const QStringList& args, const char* command, SetChoice& choice) {
    if (args.isEmpty() || args.size() > 3 || args[0].startsWith(QLatin1Char('-'))) return false;
    choice.folder = MakeDataPath(args[0]);
    if (args.size() >= 2) {
        if (!choice.sets.contains(args[1])) {
            std::fprintf(stderr, "velmora-data %s: unknown set %s (abc, s1 or s2)\n", command,
                         args[1].toLocal8Bit().constData());
            return false;
        }
        choice.sets = {args[1]};
    }
    if (args.size() == 3) {
        bool ok = false;
        choice.only = args[2].toInt(&ok);
        if (!ok || choice.only < 1) {
            std::fprintf(stderr, "velmora-data %s: bad problem number %s\n", command,
                         args[2].toLocal8Bit().constData());
            return false;
        }
    }
    return true;
}

// Calls `each(set, n, problem)` for every chosen problem; counts those that
// cannot be read. False when the chosen problem does not exist.
template <class Each> bool ForEachProblem(const SetChoice& choice, int& failed, Each each) {
    for (const QString& set : choice.sets) {
        const int count = SetProblemCount(choice.folder, set);
        if (count < 0) {
            Print(stderr, QStringLiteral("%1: %2.dr not found").arg(choice.folder, set));
            ++failed;
            continue;
        }
        if (choice.only > count) {
            Print(stderr, QStringLiteral("%1: problem %2 does not exist (%3 problems)")
                              .arg(set)
                              .arg(choice.only)
                              .arg(count));
            return false;
        }
        const int first = choice.only ? choice.only : 1;
        const int last = choice.only ? choice.only : count;
        for (int n = first; n <= last; ++n) {
            Problem p;
            QString error;
            if (!LoadProblemFromSet(set, n - 1, p, &error, choice.folder)) {
                Print(stdout, QStringLiteral("%1 %2: unreadable: %3").arg(set).arg(n).arg(error));
                ++failed;
                continue;
            }
            each(set, n, p);
        }
    }
    return true;
}

} // namespace

int RunProve(int argc, char** argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    int limitMs = 10000;
    SetChoice choice;
    if (!TakeLimit(args, limitMs) || !TakeSetChoice(args, "prove", choice)) {
        std::fprintf(stderr,
                     "usage: velmora-data prove DATA_DIR [SET [N]] [--limit-ms MS]\n"
                     "  SET is abc, s1 or s2 (all three when left out); N counts from 1.\n");
        return 2;
    }
    InitOutcomeTable();
    int proved = 0, mismatched = 0, beyond = 0, failed = 0;
    std::vector<double> times;
    const bool exists =
        ForEachProblem(choice, failed, [&](const QString& set, int n, const Problem& p) {
            const ProveReport r = ProveProblem(p, limitMs);
            times.push_back(r.ms);
            QString line = QStringLiteral("%1 %2: ").arg(set).arg(n);
            const QString stats =
                QStringLiteral("%1 nodes, %2 ms").arg(r.nodes).arg(static_cast<qint64>(r.ms + 0.5));
            switch (r.status) {
            case ProveStatus::Proved:
                ++proved;
                line +=
                    QStringLiteral("proved %1; correct %2 (%3)")
                        .arg(ClassName(r.rootClass), r.winningMoves.join(QLatin1Char(' ')), stats);
                break;
            case ProveStatus::Mismatch:
                ++mismatched;
                line += QStringLiteral("mismatch: %1 (%2)")
                            .arg(r.faults.join(QStringLiteral("; ")), stats);
                break;
            case ProveStatus::BeyondReach:
                ++beyond;
                line += QStringLiteral("beyond reach within %1 ms: %2 (%3)")
                            .arg(limitMs)
                            .arg(r.reachNote, stats);
                break;
            }
            Print(stdout, line);
        });
    if (!exists) return 2;
    double median = 0;
    if (!times.empty()) {
        std::sort(times.begin(), times.end());
        median = times[times.size() / 2];
    }
    Print(stdout, QStringLiteral("%1 problems: %2 proved, %3 mismatch, %4 beyond reach%5; "
                                 "median %6 ms")
                      .arg(proved + mismatched + beyond + failed)
                      .arg(proved)
                      .arg(mismatched)
                      .arg(beyond)
                      .arg(failed ? QStringLiteral(", %1 unreadable").arg(failed) : QString())
                      .arg(median, 0, 'f', 1));
    return mismatched || failed ? 1 : 0;
}

int RunOrder(int argc, char** argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    int limitMs = 10000;
    int every = 1;
    if (const int at = static_cast<int>(args.indexOf(QStringLiteral("--every"))); at >= 0) {
        bool ok = at + 1 < args.size();
        if (ok) every = args[at + 1].toInt(&ok);
        if (!ok || every < 1) every = 0;
        args.remove(at, std::min<qsizetype>(2, args.size() - at));
    }
    const bool ownPaths = args.removeAll(QStringLiteral("--own-paths")) > 0;
    SetChoice choice;
    if (every < 1 || !TakeLimit(args, limitMs) || !TakeSetChoice(args, "order", choice)) {
        std::fprintf(stderr,
                     "usage: velmora-data order DATA_DIR [SET [N]] [--limit-ms MS] [--every K] "
                     "[--own-paths]\n"
                     "  Classes the start, every leaf and every Black turn of each tree as the\n"
                     "  proof of the tree gives them and as a fresh solver gives each alone,\n"
                     "  and lists where they differ (--every K: one position in K; --own-paths:\n"
                     "  the fresh solvers read no result settled on another path).\n");
        return 2;
    }
    InitOutcomeTable();
    int problems = 0, failed = 0, positions = 0, unknown = 0, differ = 0, problemsDiffer = 0;
    const bool exists =
        ForEachProblem(choice, failed, [&](const QString& set, int n, const Problem& p) {
            ++problems;
            const OrderReport r = CheckOrder(p, limitMs, every, ownPaths);
            QString line = QStringLiteral("%1 %2: ").arg(set).arg(n);
            if (!r.error.isEmpty()) {
                Print(stdout, line + QStringLiteral("not checked: ") + r.error);
                return;
            }
            positions += r.positions;
            unknown += r.unknown;
            differ += static_cast<int>(r.disagreements.size());
            if (!r.disagreements.empty()) ++problemsDiffer;
            line += QStringLiteral("%1 positions, %2 differ")
                        .arg(r.positions)
                        .arg(r.disagreements.size());
            if (r.unknown) line += QStringLiteral(", %1 beyond reach").arg(r.unknown);
            for (const OrderDisagreement& d : r.disagreements)
                line += QStringLiteral("; %1: in order %2, fresh %3")
                            .arg(d.where, ClassName(d.inOrder), ClassName(d.fresh));
            Print(stdout, line);
        });
    if (!exists) return 2;
    Print(stdout, QStringLiteral("%1 problems, %2 positions: %3 differ (in %4 problems), %5 beyond "
                                 "reach%6")
                      .arg(problems)
                      .arg(positions)
                      .arg(differ)
                      .arg(problemsDiffer)
                      .arg(unknown)
                      .arg(failed ? QStringLiteral(", %1 unreadable").arg(failed) : QString()));
    return differ || failed ? 1 : 0;
}

int RunGrow(int argc, char** argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    GrowOptions options;
    QString outPath;
    const int oAt = static_cast<int>(args.indexOf(QStringLiteral("-o")));
    if (oAt >= 0) {
        if (oAt + 1 >= args.size())
            args.clear();
        else {
            outPath = args[oAt + 1];
            args.remove(oAt, 2);
        }
    }
    const bool ok = TakeResist(args, options.resistMoves);
    if (!ok || !TakeLimit(args, options.limitMs) || args.size() != 1 ||
        args[0].startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr,
                     "usage: velmora-data grow SRC.sgf [-o OUT.sgf] [--limit-ms MS] "
                     "[--resist-moves N]\n"
                     "  writes the problems with their trees completed from the proof\n"
                     "  (to standard output unless -o is given). A correct line that ends on\n"
                     "  Black's move goes on with White's most stubborn try and Black's answer,\n"
                     "  at most N moves (%d unless given; 0: never).\n",
                     GrowOptions().resistMoves);
        return 2;
    }
    InitOutcomeTable();
    QString error;
    const auto bytes = ReadFileBounded(args[0], 8 << 20, &error);
    if (!bytes) {
        Print(stderr, QStringLiteral("velmora-data grow: %1").arg(error));
        return 1;
    }
    std::string out, notes, parseError;
    if (!GrowSgf(bytes->toStdString(), options, out, notes, parseError)) {
        Print(stderr, QStringLiteral("%1:%2").arg(args[0], QString::fromStdString(parseError)));
        return 1;
    }
    if (!notes.empty()) std::fputs(notes.c_str(), stderr);
    if (outPath.isEmpty()) {
        std::fwrite(out.data(), 1, out.size(), stdout);
        return 0;
    }
    if (!WriteFileAtomic(outPath, QByteArray::fromStdString(out), &error)) {
        Print(stderr, QStringLiteral("velmora-data grow: %1").arg(error));
        return 1;
    }
    return 0;
}

int RunSolve(int argc, char** argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    GrowOptions options;
    QString outPath;
    int aim = 0;
    bool ok = true;
    for (const QString& opt :
         {QStringLiteral("-o"), QStringLiteral("--aim"), QStringLiteral("--frame")}) {
        const int at = static_cast<int>(args.indexOf(opt));
        if (at < 0) continue;
        if (at + 1 >= args.size()) {
            ok = false;
            break;
        }
        const QString value = args[at + 1];
        args.remove(at, 2);
        if (opt == QStringLiteral("-o")) {
            outPath = value;
        } else if (opt == QStringLiteral("--frame")) {
            options.frame = value.toInt(&ok);
            if (options.frame < 0 || options.frame > 3) ok = false;
        } else {
            // In the order of the solver's aims (connect and cut are aim 0
            // with their goal).
            const QStringList aims = {QStringLiteral("live"), QStringLiteral("kill"),
                                      QStringLiteral("race"), QStringLiteral("connect"),
                                      QStringLiteral("cut")};
            aim = static_cast<int>(aims.indexOf(value)) + 1;
            if (aim == 0) ok = false;
        }
    }
    if (!ok || !TakeResist(args, options.resistMoves) || !TakeLimit(args, options.limitMs) ||
        args.size() != 1 || args[0].startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr,
                     "usage: velmora-data solve SRC.sgf [-o OUT.sgf] [--limit-ms MS] "
                     "[--aim live|kill|race|connect|cut] [--frame N] [--resist-moves N]\n"
                     "  solves each bare position (AB, AW, PL; no moves) within MS per position\n"
                     "  (10000 unless given) and writes it as a problem with its tree: Black to\n"
                     "  play in the top-left corner. Exit 2 when some position reached the limit.\n"
                     "  --frame N (0-3) walls the target in with the attacker's stones N empty\n"
                     "  lines away (0: next to its liberties). A kill or ko found so is refused\n"
                     "  when a frame N+1 lines away gives the start another class.\n"
                     "  --resist-moves N as for grow (%d unless given; 0: never).\n",
                     GrowOptions().resistMoves);
        return 2;
    }
    InitOutcomeTable();
    QString error;
    const auto bytes = ReadFileBounded(args[0], 8 << 20, &error);
    if (!bytes) {
        Print(stderr, QStringLiteral("velmora-data solve: %1").arg(error));
        return 1;
    }
    std::string out, parseError;
    std::vector<SolveReport> reports;
    if (!SolveSgf(bytes->toStdString(), options, aim, out, reports, parseError)) {
        Print(stderr, QStringLiteral("%1:%2").arg(args[0], QString::fromStdString(parseError)));
        return 1;
    }
    bool limitReached = false, failed = false;
    int solved = 0;
    for (size_t i = 0; i < reports.size(); ++i) {
        const SolveReport& r = reports[i];
        QString line = QStringLiteral("%1").arg(i + 1);
        if (!r.title.empty())
            line +=
                QStringLiteral(" (%1)").arg(QString::fromStdString(r.title).simplified().left(40));
        line += QStringLiteral(": ");
        if (!r.why.empty()) {
            line += r.beyondReach
                        ? QStringLiteral("limit of %1 ms reached: %2")
                              .arg(options.limitMs)
                              .arg(QString::fromStdString(r.why))
                        : QStringLiteral("not solved: %1").arg(QString::fromStdString(r.why));
            (r.beyondReach ? limitReached : failed) = true;
        } else {
            ++solved;
            QStringList moves;
            for (const auto& [cell, klass] : r.correct)
                moves << QStringLiteral("%1 %2").arg(QString::fromStdString(SolvedMove(r, cell)),
                                                     ClassName(klass));
            line += QStringLiteral("%1%2%3; correct %4 (%5 ms)")
                        .arg(ClassName(r.best),
                             r.swapped ? QStringLiteral(" with the colours swapped") : QString(),
                             FrameNote(r, options.frame), moves.join(QStringLiteral(", ")))
                        .arg(static_cast<qint64>(r.ms + 0.5));
        }
        Print(stderr, line);
    }
    Print(stderr, QStringLiteral("%1 positions: %2 solved").arg(reports.size()).arg(solved));
    if (outPath.isEmpty()) {
        std::fwrite(out.data(), 1, out.size(), stdout);
    } else if (!WriteFileAtomic(outPath, QByteArray::fromStdString(out), &error)) {
        Print(stderr, QStringLiteral("velmora-data solve: %1").arg(error));
        return 1;
    }
    if (failed) return 1;
    return limitReached ? 2 : 0;
}
