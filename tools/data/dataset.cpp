#include "dataset.h"

#include "measure.h"

#include "library/files.h"
#include "library/player.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

constexpr qint64 kMaxIndexBytes = 32767;
constexpr qint64 kMaxBlockFileBytes = 64 << 20;

void PutU32(QByteArray& out, quint32 v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
    out.append(static_cast<char>((v >> 16) & 0xFF));
    out.append(static_cast<char>((v >> 24) & 0xFF));
}

quint32 GetU32(const QByteArray& b, qsizetype at) {
    const auto* d = reinterpret_cast<const unsigned char*>(b.constData()) + at;
    return d[0] | (d[1] << 8) | (d[2] << 16) | (static_cast<quint32>(d[3]) << 24);
}

QString SetFile(DataSet set, const char* ext) {
    return DataSetName(set) + QLatin1String(ext);
}

} // namespace

void BuildSetFiles(const std::vector<Problem>& problems, QByteArray& dr, QByteArray& dt) {
    dr.clear();
    dt.clear();
    for (const Problem& p : problems) {
        dt.append(EncodeProblem(p));
        PutU32(dr, static_cast<quint32>(dt.size()));
    }
}

QByteArray BuildTemplate(const ProblemSets& sets) {
    PlayerRecord r;
    r.ThinkTime = 60;
    int index = 0;
    for (const auto& list : sets.problems)
        for (const Problem& p : list) {
            if (index < kMaxProblemsTotal)
                r.Stat[static_cast<std::size_t>(index)].Level = static_cast<uint8_t>(p.Difficulty);
            ++index;
        }
    return PlayerRecordToBytes(r);
}

bool BuildCommentList(const std::vector<QString>& comments, QByteArray& out, QString* error) {
    QString text;
    int k = 0;
    for (const QString& c : comments) {
        ++k;
        if (c.contains(QLatin1Char('"')) || c.contains(QLatin1Char('\n')) ||
            c.contains(QLatin1Char('\r'))) {
            if (error)
                *error =
                    QStringLiteral("comment of problem %1 holds a quote or a line break").arg(k);
            return false;
        }
        text += QLatin1Char('"') + c + QLatin1String("\"\r\n");
    }
    bool ok = true;
    out = EncodeSjis(text, &ok);
    if (!ok) {
        if (error) *error = QStringLiteral("a comment holds characters Shift-JIS cannot store");
        return false;
    }
    return true;
}

bool BuildDataFiles(const ProblemSets& sets, DataFiles& out, std::vector<Diagnostic>& diags) {
    bool ok = true;
    std::size_t total = 0;
    for (const auto& list : sets.problems)
        total += list.size();
    if (total > static_cast<std::size_t>(kMaxProblemsTotal)) {
        diags.push_back(
            {false, QStringLiteral("all sets"), 0,
             QStringLiteral("%1 problems: at most 3000 are allowed in all").arg(total)});
        ok = false;
    }
    const std::size_t fields = sets.problems[1].size() + sets.problems[2].size();
    if (fields > static_cast<std::size_t>(kMaxCommentFields)) {
        diags.push_back(
            {false, QStringLiteral("s1.txt, s2.txt"), 0,
             QStringLiteral("%1 comment fields (one per s1/s2 problem): at most 250 are "
                            "allowed")
                 .arg(fields)});
        ok = false;
    }
    for (int s = 0; s < kDataSetCount; ++s) {
        BuildSetFiles(sets.problems[static_cast<std::size_t>(s)],
                      out.dr[static_cast<std::size_t>(s)], out.dt[static_cast<std::size_t>(s)]);
        if (out.dr[static_cast<std::size_t>(s)].size() > kMaxIndexBytes) {
            diags.push_back({false, SetFile(static_cast<DataSet>(s), ".dr"), 0,
                             QStringLiteral("the index would exceed 32767 bytes")});
            ok = false;
        }
    }
    out.psn = BuildTemplate(sets);
    for (int s = 1; s <= 2; ++s) {
        std::vector<QString> comments = sets.comments[static_cast<std::size_t>(s)];
        comments.resize(sets.problems[static_cast<std::size_t>(s)].size());
        QString error;
        if (!BuildCommentList(comments, out.txt[static_cast<std::size_t>(s - 1)], &error)) {
            diags.push_back({false, SetFile(static_cast<DataSet>(s), ".txt"), 0, error});
            ok = false;
        }
    }
    return ok;
}

QStringList DataFileNames() {
    return {QStringLiteral("abc.dr"),  QStringLiteral("abc.dt"), QStringLiteral("s1.dr"),
            QStringLiteral("s1.dt"),   QStringLiteral("s2.dr"),  QStringLiteral("s2.dt"),
            QStringLiteral("vm2.psn"), QStringLiteral("s1.txt"), QStringLiteral("s2.txt")};
}

bool WriteDataFiles(const QString& folder, const DataFiles& files, QString* error) {
    if (!QDir().mkpath(folder)) {
        if (error) *error = QStringLiteral("cannot create the folder %1").arg(folder);
        return false;
    }
    const QDir dir(folder);
    const std::array<const QByteArray*, 9> data = {&files.dr[0], &files.dt[0],  &files.dr[1],
                                                   &files.dt[1], &files.dr[2],  &files.dt[2],
                                                   &files.psn,   &files.txt[0], &files.txt[1]};
    const QStringList names = DataFileNames();
    for (int i = 0; i < names.size(); ++i) {
        const QString path = dir.filePath(names[i]);
        // Leave an unchanged file alone, so its time stamp stays.
        QFile existing(path);
        if (existing.size() == data[static_cast<std::size_t>(i)]->size() &&
            existing.open(QIODevice::ReadOnly) &&
            existing.readAll() == *data[static_cast<std::size_t>(i)])
            continue;
        existing.close();
        if (!WriteFileAtomic(path, *data[static_cast<std::size_t>(i)], error)) return false;
    }
    return true;
}

bool ReadDataSet(const QString& folder, DataSet set, LoadedSet& out,
                 std::vector<Diagnostic>& diags) {
    out = LoadedSet();
    const QString drName = SetFile(set, ".dr");
    const QString dtName = SetFile(set, ".dt");
    QString error;
    const auto dr = ReadFileBounded(DataFile(drName, folder), kMaxIndexBytes, &error);
    if (!dr) {
        diags.push_back({false, drName, 0, error});
        return false;
    }
    const auto dt = ReadFileBounded(DataFile(dtName, folder), kMaxBlockFileBytes, &error);
    if (!dt) {
        diags.push_back({false, dtName, 0, error});
        return false;
    }
    const int count = CheckIndex(*dr, dt->size(), &error);
    if (count < 0) {
        diags.push_back({false, drName, 0, error});
        return false;
    }
    quint32 start = 0;
    for (int k = 0; k < count; ++k) {
        const quint32 end = GetU32(*dr, 4 * k);
        const QByteArray block = dt->mid(start, end - start);
        start = end;
        Problem p;
        QString why;
        const bool decoded = DecodeProblem(block, p, &why);
        if (!decoded)
            diags.push_back(
                {false, dtName, k + 1, QStringLiteral("the block is corrupt: %1").arg(why)});
        out.blocks.push_back(block);
        out.problems.push_back(p);
        out.decoded.push_back(decoded);
    }
    if (start != static_cast<quint32>(dt->size()))
        diags.push_back(
            {false, dtName, 0,
             QStringLiteral("%1 bytes after the last problem").arg(dt->size() - start)});

    if (set != DataSet::Abc) {
        const QString txtName = SetFile(set, ".txt");
        const QString path = DataFile(txtName, folder);
        if (QFileInfo::exists(path)) {
            const auto txt = ReadFileBounded(path, 1 << 20, &error);
            if (!txt) {
                diags.push_back({false, txtName, 0, error});
            } else {
                bool ok = true;
                const QString text = DecodeSjis(*txt, &ok);
                if (!ok)
                    diags.push_back(
                        {false, txtName, 0, QStringLiteral("the file is not Shift-JIS")});
                out.comments = ParseCommentFields(text);
                out.hasComments = true;
            }
        }
    }
    return true;
}

void CheckDataFolder(const QString& folder, std::vector<Diagnostic>& diags) {
    std::array<LoadedSet, kDataSetCount> sets;
    std::array<bool, kDataSetCount> read{};
    for (int s = 0; s < kDataSetCount; ++s) {
        const DataSet set = static_cast<DataSet>(s);
        LoadedSet& loaded = sets[static_cast<std::size_t>(s)];
        read[static_cast<std::size_t>(s)] = ReadDataSet(folder, set, loaded, diags);
        const QString dtName = SetFile(set, ".dt");
        for (std::size_t k = 0; k < loaded.problems.size(); ++k) {
            if (!loaded.decoded[k]) continue;
            const Problem& p = loaded.problems[k];
            const int number = static_cast<int>(k) + 1;
            const QByteArray again = EncodeProblem(p);
            if (again != loaded.blocks[k]) {
                qsizetype at = 0;
                while (at < again.size() && at < loaded.blocks[k].size() &&
                       again[at] == loaded.blocks[k][at])
                    ++at;
                diags.push_back({false, dtName, number,
                                 QStringLiteral("the block is not in the exact layout (first "
                                                "difference at byte %1 of the block)")
                                     .arg(at)});
            }
            for (const ProblemFault& f : CheckProblem(p, set)) {
                QString message = f.message;
                if (f.node >= 0)
                    message = QStringLiteral("node %1 %2: %3")
                                  .arg(f.node)
                                  .arg(MoveText(p, f.node), message);
                diags.push_back({f.warning, dtName, number, message});
            }
        }
    }

    // Totals.
    std::size_t total = 0;
    for (const LoadedSet& s : sets)
        total += s.problems.size();
    if (total > static_cast<std::size_t>(kMaxProblemsTotal))
        diags.push_back(
            {false, QStringLiteral("all sets"), 0,
             QStringLiteral("%1 problems: at most 3000 are allowed in all").arg(total)});

    // Comment lists.
    std::size_t fields = 0;
    for (int s = 1; s <= 2; ++s) {
        const LoadedSet& loaded = sets[static_cast<std::size_t>(s)];
        const QString txtName = SetFile(static_cast<DataSet>(s), ".txt");
        if (!loaded.hasComments) {
            diags.push_back({false, txtName, 0, QStringLiteral("the comment list is missing")});
            continue;
        }
        fields += loaded.comments.size();
        if (!read[static_cast<std::size_t>(s)]) continue;
        if (loaded.comments.size() > loaded.problems.size()) {
            diags.push_back({true, txtName, 0,
                             QStringLiteral("%1 comment fields for %2 problems")
                                 .arg(loaded.comments.size())
                                 .arg(loaded.problems.size())});
            continue;
        }
        // compile writes one quoted field per problem; a list in any other
        // form would change in a dump -> compile round trip.
        std::vector<QString> padded = loaded.comments;
        padded.resize(loaded.problems.size());
        QByteArray canonical;
        QString why;
        const auto original = ReadFileBounded(DataFile(txtName, folder), 1 << 20);
        if (!BuildCommentList(padded, canonical, &why) || !original || canonical != *original)
            diags.push_back({true, txtName, 0,
                             QStringLiteral("not in the form compile writes (one quoted field "
                                            "per problem, CR LF)")});
    }
    if (fields > static_cast<std::size_t>(kMaxComments))
        diags.push_back({false, QStringLiteral("s1.txt, s2.txt"), 0,
                         QStringLiteral("%1 comment fields: at most 250 are allowed").arg(fields)});

    // The template.
    const QString psnName = QStringLiteral("vm2.psn");
    QString error;
    const auto psn = ReadFileBounded(DataFile(psnName, folder), 1 << 20, &error);
    if (!psn) {
        diags.push_back({false, psnName, 0, error});
        return;
    }
    if (psn->size() != kPlayerFileSize) {
        diags.push_back(
            {false, psnName, 0,
             QStringLiteral("%1 bytes: a player file has exactly 12248").arg(psn->size())});
        return;
    }
    const PlayerRecord r = PlayerRecordFromBytes(*psn);
    if (r.ThinkTime < 10 || r.ThinkTime % 10 != 0)
        diags.push_back(
            {false, psnName, 0,
             QStringLiteral("thinking time %1 is not a positive multiple of 10").arg(r.ThinkTime)});
    if (r.SoundEffect != 0 || r.MakeQ != 0 || r.LastCourse != 0 || r.LastProb[0] != 0 ||
        r.LastProb[1] != 0 || r.LastProb[2] != 0 || r.FormArrange != 0 || r.BGMEffect != 0 ||
        r.Background != 0 || r.ColorMode != 0)
        diags.push_back(
            {true, psnName, 0, QStringLiteral("a setting other than the thinking time is not 0")});
    int index = 0;
    int wrongLevel = 0;
    QString firstWrong;
    for (int s = 0; s < kDataSetCount; ++s) {
        const LoadedSet& loaded = sets[static_cast<std::size_t>(s)];
        for (std::size_t k = 0; k < loaded.problems.size(); ++k, ++index) {
            if (index >= kMaxProblemsTotal || !loaded.decoded[k]) continue;
            const int level = r.Stat[static_cast<std::size_t>(index)].Level;
            if (level != loaded.problems[k].Difficulty) {
                if (wrongLevel++ == 0)
                    firstWrong = QStringLiteral("%1 problem %2 has Level %3 but Difficulty %4")
                                     .arg(DataSetName(static_cast<DataSet>(s)))
                                     .arg(k + 1)
                                     .arg(level)
                                     .arg(loaded.problems[k].Difficulty);
            }
        }
    }
    if (wrongLevel > 0)
        diags.push_back({false, psnName, 0,
                         QStringLiteral("%1 levels differ from the problems' Difficulty; %2")
                             .arg(wrongLevel)
                             .arg(firstWrong)});
    int stray = 0;
    for (int i = 0; i < kMaxProblemsTotal; ++i) {
        const ProbStat& st = r.Stat[static_cast<std::size_t>(i)];
        if (st.Asked != 0 || st.Correct != 0 || st.Selected != 0 || (i >= index && st.Level != 0))
            ++stray;
    }
    if (stray > 0)
        diags.push_back({false, psnName, 0,
                         QStringLiteral("%1 problem entries carry statistics or a level beyond the "
                                        "last problem")
                             .arg(stray)});
}

bool ReadEngineMisses(const QString& path, std::set<std::string>& keys, QString& error) {
    const auto bytes = ReadFileBounded(path, 16 << 20, &error);
    if (!bytes) return false;
    int number = 0;
    for (const QByteArray& raw : bytes->split('\n')) {
        ++number;
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        const QByteArray key = line.split(' ').front();
        bool wellFormed = key.size() % 3 == 0;
        for (qsizetype c = 0; wellFormed && c < key.size(); ++c)
            wellFormed =
                c % 3 == 0 ? (key[c] == 'b' || key[c] == 'w') : (key[c] >= 'a' && key[c] <= 's');
        if (!wellFormed) {
            error = QStringLiteral("%1:%2: not a position key").arg(path).arg(number);
            return false;
        }
        keys.insert(key.toStdString());
    }
    return true;
}

void AuditDataFolder(const QString& folder, std::vector<Diagnostic>& diags,
                     const std::set<std::string>& engineMisses) {
    std::array<LoadedSet, kDataSetCount> sets;
    for (int s = 0; s < kDataSetCount; ++s)
        ReadDataSet(folder, static_cast<DataSet>(s), sets[static_cast<std::size_t>(s)], diags);
    // Levels of the main collection follow the measured difficulty.
    {
        const LoadedSet& abc = sets[static_cast<std::size_t>(DataSet::Abc)];
        for (std::size_t k = 0; k < abc.problems.size(); ++k) {
            if (!abc.decoded[k] || !ValidateTree(abc.problems[k])) continue;
            const QString fault =
                LevelFault(abc.problems[k], engineMisses.count(PositionKey(abc.problems[k])) > 0);
            if (!fault.isEmpty())
                diags.push_back(
                    {false, SetFile(DataSet::Abc, ".dt"), static_cast<int>(k) + 1, fault});
        }
    }

    // The same position twice, in any set, under the board's symmetries and
    // the colour swap; positions one stone apart are reported too.
    {
        std::vector<const Problem*> all;
        std::vector<std::pair<DataSet, int>> where;
        for (int s = 0; s < kDataSetCount; ++s) {
            const LoadedSet& loaded = sets[static_cast<std::size_t>(s)];
            for (std::size_t k = 0; k < loaded.problems.size(); ++k) {
                if (!loaded.decoded[k]) continue;
                all.push_back(&loaded.problems[k]);
                where.push_back({static_cast<DataSet>(s), static_cast<int>(k) + 1});
            }
        }
        for (const SimilarPair& pair : FindSimilar(all, kNearDistance)) {
            const auto& [firstSet, firstNo] = where[static_cast<std::size_t>(pair.first)];
            const auto& [set, number] = where[static_cast<std::size_t>(pair.second)];
            const QString other = QStringLiteral("%1 %2").arg(DataSetName(firstSet)).arg(firstNo);
            diags.push_back(
                {pair.distance > 0, SetFile(set, ".dt"), number,
                 pair.distance == 0
                     ? QStringLiteral("the same start position as %1 (turned, mirrored or with "
                                      "the colours swapped)")
                           .arg(other)
                     : QStringLiteral("start position %1 stone(s) away from %2")
                           .arg(pair.distance)
                           .arg(other)});
        }
    }
}
