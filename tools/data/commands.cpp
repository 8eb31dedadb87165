#include "commands.h"

#include "dataset.h"
#include "dump.h"
#include "source.h"

#include "rules/outcome.h"

#include <QDir>

namespace {

void Line(QByteArray& to, const QString& text) {
    to += text.toUtf8();
    to += '\n';
}

void Report(const std::vector<Diagnostic>& diags, QByteArray& to) {
    for (const Diagnostic& d : diags)
        Line(to, d.ToString());
}

int Usage(CommandOutput& io, const QString& problem) {
    if (!problem.isEmpty()) Line(io.err, QStringLiteral("velmora-data: ") + problem);
    io.err += UsageText();
    return 2;
}

// Splits off the --strict flag.
QStringList Options(const QStringList& args, bool& strict) {
    QStringList rest;
    strict = false;
    for (const QString& a : args) {
        if (a == QLatin1String("--strict"))
            strict = true;
        else
            rest << a;
    }
    return rest;
}

int CountErrors(const std::vector<Diagnostic>& diags, bool strict) {
    int n = 0;
    for (const Diagnostic& d : diags)
        if (!d.warning || strict) ++n;
    return n;
}

} // namespace

QByteArray UsageText() {
    return QByteArrayLiteral(
        "usage:\n"
        "  velmora-data compile [--strict] SRC_DIR OUT_DIR   SGF sources (SRC_DIR/abc, s1, s2) to "
        "data files\n"
        "  velmora-data check [--strict] DATA_DIR            validate the data sets, template and "
        "comment lists\n"
        "  velmora-data audit [--strict] DATA_DIR [--gnugo FILE]  duplicates across the sets and "
        "levels "
        "against measured difficulty\n"
        "  velmora-data list DATA_DIR SET                    one line per problem of abc, s1 or "
        "s2\n"
        "  velmora-data dump DATA_DIR SET [N]                problem N (from 1; all when left out) "
        "as SGF\n"
        "  velmora-data prove ... | order ... | grow ... | solve ...  the solver\n"
        "--strict treats warnings as faults. See docs/problem-format.md.\n");
}

int RunCompile(const QStringList& rawArgs, CommandOutput& io) {
    bool strict = false;
    const QStringList args = Options(rawArgs, strict);
    if (args.size() != 2) return Usage(io, QStringLiteral("compile takes SRC_DIR and OUT_DIR"));
    InitOutcomeTable();
    const QDir src(args[0]);
    std::vector<Diagnostic> diags;
    if (!src.exists())
        diags.push_back(
            {true, args[0], 0, QStringLiteral("no such source folder: every set compiles empty")});
    ProblemSets sets;
    std::array<std::size_t, kDataSetCount> counts{};
    for (int s = 0; s < kDataSetCount; ++s) {
        const DataSet set = static_cast<DataSet>(s);
        std::vector<SourceProblem> problems;
        ReadSourceFolder(src.filePath(DataSetName(set)), set, problems, diags);
        for (const SourceProblem& sp : problems) {
            sets.problems[static_cast<std::size_t>(s)].push_back(sp.problem);
            sets.comments[static_cast<std::size_t>(s)].push_back(sp.comment);
        }
        counts[static_cast<std::size_t>(s)] = problems.size();
    }
    DataFiles files;
    BuildDataFiles(sets, files, diags);
    Report(diags, io.err);
    const int errors = CountErrors(diags, strict);
    if (errors > 0) {
        Line(io.err, QStringLiteral("velmora-data: %1 fault(s); nothing written").arg(errors));
        return 1;
    }
    QString error;
    if (!WriteDataFiles(args[1], files, &error)) {
        Line(io.err, QStringLiteral("velmora-data: ") + error);
        return 1;
    }
    Line(io.out, QStringLiteral("abc %1, s1 %2, s2 %3 problems written to %4")
                     .arg(counts[0])
                     .arg(counts[1])
                     .arg(counts[2])
                     .arg(args[1]));
    return 0;
}

int RunCheck(const QStringList& rawArgs, CommandOutput& io) {
    bool strict = false;
    const QStringList args = Options(rawArgs, strict);
    if (args.size() != 1) return Usage(io, QStringLiteral("check takes DATA_DIR"));
    InitOutcomeTable();
    std::vector<Diagnostic> diags;
    CheckDataFolder(args[0], diags);
    Report(diags, io.out);
    return CountErrors(diags, strict) > 0 ? 1 : 0;
}

int RunAudit(const QStringList& rawArgs, CommandOutput& io) {
    bool strict = false;
    QStringList args = Options(rawArgs, strict);
    std::set<std::string> engineMisses;
    const int at = static_cast<int>(args.indexOf(QStringLiteral("--gnugo")));
    if (at >= 0) {
        if (at + 1 >= args.size()) return Usage(io, QStringLiteral("--gnugo takes FILE"));
        QString error;
        if (!ReadEngineMisses(args[at + 1], engineMisses, error)) {
            Line(io.err, QStringLiteral("velmora-data: ") + error);
            return 1;
        }
        args.remove(at, 2);
    }
    if (args.size() != 1) return Usage(io, QStringLiteral("audit takes DATA_DIR"));
    InitOutcomeTable();
    std::vector<Diagnostic> diags;
    AuditDataFolder(args[0], diags, engineMisses);
    Report(diags, io.out);
    return CountErrors(diags, strict) > 0 ? 1 : 0;
}

int RunList(const QStringList& args, CommandOutput& io) {
    DataSet set;
    if (args.size() != 2 || !DataSetFromName(args[1], set))
        return Usage(io, QStringLiteral("list takes DATA_DIR and SET (abc, s1 or s2)"));
    InitOutcomeTable();
    std::vector<Diagnostic> diags;
    LoadedSet loaded;
    const bool ok = ReadDataSet(args[0], set, loaded, diags);
    int status = ok ? 0 : 1;
    for (std::size_t k = 0; k < loaded.problems.size(); ++k) {
        if (!loaded.decoded[k]) {
            status = 1;
            continue;
        }
        Problem p = loaded.problems[k];
        const int best = CalcAllResults(p);
        Line(io.out, QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6")
                         .arg(k + 1)
                         .arg(p.Difficulty)
                         .arg(p.ProbPurpose)
                         .arg(p.hands)
                         .arg(best)
                         .arg(OutcomeText(0, best)));
    }
    Report(diags, io.err);
    return status;
}

int RunDump(const QStringList& args, CommandOutput& io) {
    DataSet set;
    if ((args.size() != 2 && args.size() != 3) || !DataSetFromName(args[1], set))
        return Usage(io, QStringLiteral("dump takes DATA_DIR, SET (abc, s1 or s2) and N"));
    InitOutcomeTable();
    std::vector<Diagnostic> diags;
    LoadedSet loaded;
    if (!ReadDataSet(args[0], set, loaded, diags)) {
        Report(diags, io.err);
        return 1;
    }
    const int count = static_cast<int>(loaded.problems.size());
    int first = 1;
    int last = count;
    if (args.size() == 3) {
        bool isNumber = false;
        const int n = args[2].toInt(&isNumber);
        if (!isNumber || n < 1 || n > count) {
            Line(io.err, QStringLiteral("velmora-data: %1 has no problem %2 (it has %3)")
                             .arg(DataSetName(set), args[2])
                             .arg(count));
            return 1;
        }
        first = last = n;
    }
    int status = 0;
    for (int n = first; n <= last; ++n) {
        const std::size_t k = static_cast<std::size_t>(n - 1);
        if (!loaded.decoded[k]) {
            status = 1;
            continue;
        }
        const QString comment = k < loaded.comments.size() ? loaded.comments[k] : QString();
        io.out += DumpProblem(loaded.problems[k], set, n, comment);
    }
    Report(diags, io.err);
    return status;
}

int RunDataCommand(const QStringList& args, CommandOutput& io) {
    if (args.isEmpty()) return Usage(io, QString());
    const QString command = args[0];
    const QStringList rest = args.mid(1);
    if (command == QLatin1String("compile")) return RunCompile(rest, io);
    if (command == QLatin1String("check")) return RunCheck(rest, io);
    if (command == QLatin1String("list")) return RunList(rest, io);
    if (command == QLatin1String("audit")) return RunAudit(rest, io);
    if (command == QLatin1String("dump")) return RunDump(rest, io);
    if (command == QLatin1String("help") || command == QLatin1String("--help") ||
        command == QLatin1String("-h")) {
        io.out += UsageText();
        return 0;
    }
    return Usage(io, QStringLiteral("unknown command %1").arg(command));
}
