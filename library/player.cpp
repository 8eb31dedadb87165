#include "player.h"

#include "files.h"
#include "writefolder.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstring>

int16_t gPlayerCount = 0;
std::array<QString, kMaxPlayers> gPlayerName;
int16_t gCurPlayer = 0;
PlayerRecord gPlayerRecord;
std::vector<CommentEntry> gComments;
int16_t gCommentCount = 0;

namespace {

int16_t Get16(const QByteArray& b, int off) {
    const auto lo = static_cast<unsigned char>(b[off]);
    const auto hi = static_cast<unsigned char>(b[off + 1]);
    return static_cast<int16_t>(lo | (hi << 8));
}

void Put16(QByteArray& b, int off, int16_t v) {
    b[off] = static_cast<char>(v & 0xFF);
    b[off + 1] = static_cast<char>((v >> 8) & 0xFF);
}

void SetError(QString* error, const QString& text) {
    if (error) *error = text;
}

} // namespace

PlayerRecord PlayerRecordFromBytes(const QByteArray& bytes) {
    QByteArray b = bytes.left(kPlayerFileSize);
    if (b.size() < kPlayerFileSize) b.append(QByteArray(kPlayerFileSize - b.size(), '\0'));
    PlayerRecord r;
    r.ThinkTime = Get16(b, 0);
    r.SoundEffect = Get16(b, 2);
    r.MakeQ = Get16(b, 4);
    r.LastCourse = Get16(b, 6);
    for (int i = 0; i < 3; ++i)
        r.LastProb[i] = Get16(b, 8 + 2 * i);
    r.FormArrange = Get16(b, 14);
    r.BGMEffect = Get16(b, 16);
    r.Background = Get16(b, 18);
    std::memcpy(r.reserved1.data(), b.constData() + 20, r.reserved1.size());
    r.ColorMode = Get16(b, 28);
    std::memcpy(r.reserved2.data(), b.constData() + 30, r.reserved2.size());
    for (int i = 0; i < 3000; ++i) {
        const int off = kProbStatOffset + 4 * i;
        r.Stat[i].Level = static_cast<uint8_t>(b[off]);
        r.Stat[i].Asked = static_cast<uint8_t>(b[off + 1]);
        r.Stat[i].Correct = static_cast<uint8_t>(b[off + 2]);
        r.Stat[i].Selected = static_cast<uint8_t>(b[off + 3]);
    }
    return r;
}

QByteArray PlayerRecordToBytes(const PlayerRecord& r) {
    QByteArray b(kPlayerFileSize, '\0');
    Put16(b, 0, r.ThinkTime);
    Put16(b, 2, r.SoundEffect);
    Put16(b, 4, r.MakeQ);
    Put16(b, 6, r.LastCourse);
    for (int i = 0; i < 3; ++i)
        Put16(b, 8 + 2 * i, r.LastProb[i]);
    Put16(b, 14, r.FormArrange);
    Put16(b, 16, r.BGMEffect);
    Put16(b, 18, r.Background);
    std::memcpy(b.data() + 20, r.reserved1.data(), r.reserved1.size());
    Put16(b, 28, r.ColorMode);
    std::memcpy(b.data() + 30, r.reserved2.data(), r.reserved2.size());
    for (int i = 0; i < 3000; ++i) {
        const int off = kProbStatOffset + 4 * i;
        b[off] = static_cast<char>(r.Stat[i].Level);
        b[off + 1] = static_cast<char>(r.Stat[i].Asked);
        b[off + 2] = static_cast<char>(r.Stat[i].Correct);
        b[off + 3] = static_cast<char>(r.Stat[i].Selected);
    }
    return b;
}

QString PlayerFileName(int i) {
    const int digit = ((i % 10) + 10) % 10;
    return QStringLiteral("vm2.ps") + QString::number(digit);
}

RosterParse ParseRoster(const QByteArray& bytes, Roster& roster) {
    RosterParse result;
    roster.count = 0;
    // Lines are split on the bytes: 0x0A is never part of a Shift-JIS
    // character, and each line is decoded on its own so a bad one is named.
    const QList<QByteArray> lines = bytes.split('\n');
    // mark , "name"  (any spaces around the mark and the comma)
    static const QRegularExpression line(QStringLiteral(R"(^\s*(-?\d+)\s*,\s*"([^"]*)\"\s*$)"));
    for (qsizetype k = 0; k < lines.size(); ++k) {
        if (roster.count >= kMaxPlayers) break;
        bool textOk = true;
        QString l = DecodeSjis(lines[k], &textOk);
        if (l.endsWith(QLatin1Char('\r'))) l.chop(1);
        if (l.trimmed().isEmpty()) {
            // A blank line ends the list only at the end of the file.
            continue;
        }
        const auto m = line.match(l);
        bool ok = m.hasMatch();
        const int mark = ok ? m.captured(1).toInt(&ok) : 0;
        if (!ok) {
            // unparsable: keep what was read so far
            result.badLine = int(k) + 1;
            break;
        }
        if (!textOk && result.badTextLine == 0) result.badTextLine = int(k) + 1;
        roster.names[roster.count] = m.captured(2);
        if (mark != 0) roster.current = roster.count;
        ++roster.count;
    }
    return result;
}

QByteArray FormatRoster(const Roster& roster) {
    QString text;
    for (int i = 0; i < roster.count && i < kMaxPlayers; ++i) {
        text +=
            QStringLiteral(" %1 ,\"%2\"\r\n").arg(i == roster.current ? 1 : 0).arg(roster.names[i]);
    }
    return EncodeSjis(text);
}

namespace {

QString& RosterProblemText() {
    static QString text;
    return text;
}

QStringList& Notices() {
    static QStringList list;
    return list;
}

} // namespace

void AddFileNotice(const QString& text) {
    if (!Notices().contains(text)) Notices().append(text);
}

QStringList TakeFileNotices() {
    QStringList taken;
    taken.swap(Notices());
    return taken;
}

namespace {

// The write folder's own copy of the template, else the program folder's.
QString TemplateFile() {
    const QString own = WriteFolderFile(QStringLiteral("vm2.psn"));
    return QFile::exists(own) ? own : DataFile(QStringLiteral("vm2.psn"));
}

} // namespace

void ReadRoster() {
    Roster r;
    r.current = gCurPlayer;
    const QString path = WriteFolderFile(QStringLiteral("vm2.ply"));
    QString problem;
    if (QFileInfo::exists(path)) {
        QString err;
        const auto bytes = ReadFileBounded(path, 1 << 16, &err);
        if (!bytes) {
            problem = QStringLiteral("プレイヤー名簿を読めません。\n") + err;
        } else if (!bytes->isEmpty()) {
            const RosterParse parse = ParseRoster(*bytes, r);
            if (parse.badLine == 1 || (parse.badLine > 0 && r.count == 0)) {
                problem = QStringLiteral("プレイヤー名簿 %1 の %2 行目が読めないため、"
                                         "プレイヤーを読み込めませんでした。")
                              .arg(path)
                              .arg(parse.badLine);
            } else if (parse.badLine > 0) {
                problem = QStringLiteral("プレイヤー名簿 %1 の %2 行目が読めないため、"
                                         "その行から後を読み飛ばしました（%3人を読み込みました）。")
                              .arg(path)
                              .arg(parse.badLine)
                              .arg(r.count);
            } else if (parse.badTextLine > 0) {
                problem = QStringLiteral("プレイヤー名簿 %1 の %2 "
                                         "行目の名前に、読めない文字（Shift-JIS 以外）があります。")
                              .arg(path)
                              .arg(parse.badTextLine);
            }
        }
    }
    // A damaged roster is told once, not at every return to the menu.
    if (!problem.isEmpty() && problem != RosterProblemText()) AddFileNotice(problem);
    RosterProblemText() = problem;
    gPlayerCount = r.count;
    for (int i = 0; i < kMaxPlayers; ++i)
        gPlayerName[i] = i < r.count ? r.names[i] : QString();
    gCurPlayer = r.current;
    if (gPlayerCount > 0 && (gCurPlayer < 0 || gCurPlayer >= gPlayerCount)) gCurPlayer = 0;
}

QString RosterProblem() {
    return RosterProblemText();
}

bool WriteRoster(QString* error, QString* keptAs) {
    Roster r;
    r.count = gPlayerCount;
    r.names = gPlayerName;
    r.current = gCurPlayer;
    return WriteRosterFile(r, error, keptAs);
}

bool WriteRosterFile(const Roster& r, QString* error, QString* keptAs) {
    const QString path = WriteFolderFile(QStringLiteral("vm2.ply"));
    if (!RosterProblemText().isEmpty() && QFileInfo::exists(path)) {
        const QString aside = KeepAside(path, error);
        if (aside.isEmpty()) return false;
        if (keptAs) *keptAs = aside;
    }
    if (!WriteFileAtomic(path, FormatRoster(r), error)) return false;
    RosterProblemText().clear();
    return true;
}

bool ValidThinkTime(int seconds) {
    return seconds >= 10 && seconds <= 300 && seconds % 10 == 0;
}

bool LoadPlayerFile(int i, QString* error) {
    const QString path = WriteFolderFile(PlayerFileName(i));
    QString err;
    if (QFile::exists(path)) {
        const auto bytes = ReadFileBounded(path, 1 << 20, &err);
        if (!bytes) {
            SetError(error, err);
            return false;
        }
        if (bytes->size() >= kPlayerFileSize) {
            gPlayerRecord = PlayerRecordFromBytes(*bytes);
            if (!ValidThinkTime(gPlayerRecord.ThinkTime)) gPlayerRecord.ThinkTime = 60;
            return true;
        }
    }
    const bool existed = QFile::exists(path);
    if (i < 0 || i >= gPlayerCount) {
        // No registered player owns this file: read it as zero-filled and
        // create nothing.
        const auto bytes = existed ? ReadFileBounded(path, 1 << 20) : std::nullopt;
        gPlayerRecord = PlayerRecordFromBytes(bytes ? *bytes : QByteArray());
        if (!ValidThinkTime(gPlayerRecord.ThinkTime)) gPlayerRecord.ThinkTime = 60;
        return true;
    }
    // A registered player's file missing or cut short: the statistics and
    // the level codes are gone. Start the player again from the template,
    // keeping a short file aside.
    QString aside;
    if (existed) {
        aside = KeepAside(path, &err);
        if (aside.isEmpty()) {
            SetError(error, err);
            return false;
        }
    }
    const QString templ = TemplateFile();
    const auto bytes = ReadFileBounded(templ, 1 << 20, &err);
    if (!bytes || bytes->size() < kPlayerFileSize) {
        SetError(error, bytes ? QStringLiteral("ひな形ファイルが短すぎます: %1").arg(templ) : err);
        return false;
    }
    if (!WriteFileAtomic(path, *bytes, &err)) {
        SetError(error, err);
        return false;
    }
    gPlayerRecord = PlayerRecordFromBytes(*bytes);
    if (!ValidThinkTime(gPlayerRecord.ThinkTime)) gPlayerRecord.ThinkTime = 60;
    AddFileNotice(existed ? QStringLiteral("プレイヤーファイル %1 が短すぎて読めなかったため、"
                                           "ひな形から作り直しました（元のファイルは %2 "
                                           "として残しました）。")
                                .arg(path, aside)
                          : QStringLiteral("プレイヤーファイル %1 がなかったため、"
                                           "ひな形から作り直しました。")
                                .arg(path));
    return true;
}

bool SavePlayerFile(int i, QString* error) {
    const QString path = WriteFolderFile(PlayerFileName(i));
    // Bytes past the record (a longer file) are kept as they were.
    QByteArray data = PlayerRecordToBytes(gPlayerRecord);
    if (const auto old = ReadFileBounded(path, 1 << 20); old && old->size() > kPlayerFileSize) {
        data.append(old->mid(kPlayerFileSize));
    }
    return WriteFileAtomic(path, data, error);
}

void DefaultSettings() {
    PlayerRecord& r = gPlayerRecord;
    r.ThinkTime = 60;
    r.SoundEffect = 0;
    r.BGMEffect = 0;
    r.MakeQ = 0;
    r.FormArrange = 0;
    r.Background = 0;
    r.LastCourse = 0;
    r.LastProb = {0, 0, 0};
}

bool CreatePlayerFile(int i, QString* error, QString* keptAs) {
    const QString templ = TemplateFile();
    QString err;
    const auto bytes = ReadFileBounded(templ, 1 << 20, &err);
    if (!bytes) {
        SetError(error, err);
        return false;
    }
    const QString path = WriteFolderFile(PlayerFileName(i));
    if (QFileInfo::exists(path)) {
        // Another player's record may live there (a roster that could not be
        // read): it is never overwritten.
        const QString aside = KeepAside(path, error, QStringLiteral("old"));
        if (aside.isEmpty()) return false;
        if (keptAs) *keptAs = aside;
    }
    return WriteFileAtomic(path, *bytes, error);
}

bool CopyPlayerFile(int from, int to, QString* error) {
    QString err;
    const auto bytes = ReadFileBounded(WriteFolderFile(PlayerFileName(from)), 1 << 20, &err);
    if (!bytes) {
        SetError(error, err);
        return false;
    }
    return WriteFileAtomic(WriteFolderFile(PlayerFileName(to)), *bytes, error);
}

std::vector<QString> ParseCommentFields(const QString& text) {
    std::vector<QString> fields;
    QString field;
    bool inQuotes = false;
    bool wasQuoted = false;
    bool any = false; // something on the current line
    auto finish = [&]() {
        fields.push_back(wasQuoted ? field : field.trimmed());
        field.clear();
        wasQuoted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c == QLatin1Char('"')) {
                inQuotes = false;
            } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
                // an unclosed quote ends at the line end
                inQuotes = false;
                finish();
                any = false;
                if (c == QLatin1Char('\r') && i + 1 < text.size() &&
                    text[i + 1] == QLatin1Char('\n'))
                    ++i;
            } else {
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"') && field.trimmed().isEmpty()) {
            inQuotes = true;
            wasQuoted = true;
            field.clear();
            any = true;
        } else if (c == QLatin1Char(',')) {
            finish();
            any = true;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (any || !field.trimmed().isEmpty() || wasQuoted) finish();
            any = false;
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
        } else if (!wasQuoted) {
            field += c;
            any = true;
        }
    }
    if (any || !field.trimmed().isEmpty() || wasQuoted) finish();
    return fields;
}

namespace {

// The folder whose comment lists gComments holds; empty until they are read.
QString gCommentsFolder;

} // namespace

bool ReadCommentLists(QString* error) {
    gComments.clear();
    gCommentCount = 0;
    gCommentsFolder.clear();
    const std::array<std::pair<int, QString>, 2> files = {
        std::pair<int, QString>{4, QStringLiteral("s1.txt")},
        std::pair<int, QString>{5, QStringLiteral("s2.txt")}};
    for (const auto& [course, name] : files) {
        QString err;
        const auto bytes = ReadFileBounded(DataFile(name), 1 << 20, &err);
        if (!bytes) {
            SetError(error, err);
            return false;
        }
        bool textOk = true;
        const std::vector<QString> fields = ParseCommentFields(DecodeSjis(*bytes, &textOk));
        if (!textOk) {
            const QList<QByteArray> lines = bytes->split('\n');
            qsizetype bad = 0;
            while (bad < lines.size()) {
                bool ok = true;
                DecodeSjis(lines[bad], &ok);
                if (!ok) break;
                ++bad;
            }
            AddFileNotice(QStringLiteral("コメントファイル %1 の %2 行目に、"
                                         "読めない文字（Shift-JIS 以外）があります。")
                              .arg(DataFile(name))
                              .arg(bad + 1));
        }
        int16_t index = 0;
        for (const QString& f : fields) {
            if (static_cast<int>(gComments.size()) >= kMaxComments) {
                SetError(error,
                         QStringLiteral("コメントが250を超えています: %1").arg(DataFile(name)));
                return false;
            }
            gComments.push_back(CommentEntry{static_cast<int16_t>(course), index++, f});
        }
    }
    gCommentCount = static_cast<int16_t>(gComments.size());
    gCommentsFolder = gDataPath;
    return true;
}

bool EnsureCommentLists(QString* error) {
    if (!gCommentsFolder.isEmpty() && gCommentsFolder == gDataPath) return true;
    return ReadCommentLists(error);
}

void SetCommentLists(std::vector<CommentEntry> entries) {
    gComments = std::move(entries);
    gCommentCount = static_cast<int16_t>(gComments.size());
    gCommentsFolder = gDataPath;
}

QString ProbComment(int course, int n) {
    for (const CommentEntry& e : gComments) {
        if (e.Course == course && e.ProbIndex == n) return e.Text;
    }
    return QString();
}

QString ToWideDigits(const QString& s) {
    QString out;
    for (const QChar c : s) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            out += QChar(0xFF10 + (c.unicode() - u'0'));
        } else if (c != QLatin1Char(' ')) {
            out += c;
        }
    }
    return out;
}

int StoneBitmapIndex(int pitch, int colour, int mask) {
    int sizeClass = 0;
    if (pitch == 9)
        sizeClass = 3;
    else if (pitch == 11)
        sizeClass = 2;
    else if (pitch == 20)
        sizeClass = 1;
    return (sizeClass * 2 + (colour == 2 ? 1 : 0)) * 2 + (mask == 1 ? 1 : 0);
}

int StoneTileSize(int pitch) {
    return pitch == 9 || pitch == 11 || pitch == 20 ? pitch : 29;
}

QString StoneBitmapName(int index) {
    static const char* sizes[] = {"29", "20", "11", "09"};
    const QString colour = (index & 2) ? QStringLiteral("Wh") : QStringLiteral("Bl");
    const QString size = QString::fromLatin1(sizes[(index / 4) & 3]);
    const QString kind = (index & 1) ? QStringLiteral("Rev") : QStringLiteral("Nrm");
    return colour + size + kind + QStringLiteral(".bmp");
}
