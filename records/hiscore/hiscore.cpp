#include "hiscore.h"

#include "library/files.h"

#include <QList>
#include <algorithm>

namespace {

std::function<QDateTime()>& Clock() {
    static std::function<QDateTime()> clock;
    return clock;
}

QString NumberItem(int n) {
    // A number is written with a blank in the place of a plus sign and one
    // blank after it.
    return (n >= 0 ? QStringLiteral(" ") : QString()) + QString::number(n) + QLatin1Char(' ');
}

QString QuotedItem(QString text) {
    // The reader ends a text at the next double quote and a record at the
    // line end: neither may appear inside.
    text.replace(QLatin1Char('"'), QChar(0xFF02));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

bool IsBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Splits one record line into its fields: a field ends at a comma; a field
// that starts with a double quote runs to the next one.
bool SplitFields(const QString& line, QStringList& fields) {
    fields.clear();
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (true) {
        while (i < n && IsBlank(line.at(i)))
            ++i;
        QString field;
        if (i < n && line.at(i) == QLatin1Char('"')) {
            const qsizetype close = line.indexOf(QLatin1Char('"'), i + 1);
            if (close < 0) return false;
            field = line.mid(i + 1, close - i - 1);
            i = close + 1;
            while (i < n && IsBlank(line.at(i)))
                ++i;
            if (i < n && line.at(i) != QLatin1Char(',')) return false;
        } else {
            const qsizetype comma = line.indexOf(QLatin1Char(','), i);
            const qsizetype end = comma < 0 ? n : comma;
            field = line.mid(i, end - i).trimmed();
            i = end;
        }
        fields.append(field);
        if (i >= n) return true;
        ++i; // the comma
    }
}

bool ParseNumber(const QString& field, int16_t& out) {
    if (field.isEmpty()) {
        out = 0;
        return true;
    }
    bool ok = false;
    const int v = field.toInt(&ok);
    if (!ok || v < INT16_MIN || v > INT16_MAX) return false;
    out = static_cast<int16_t>(v);
    return true;
}

} // namespace

QString HiscoreFileName(int course) {
    switch (course) {
    case 4:
        return QStringLiteral("s1.hsc");
    case 5:
        return QStringLiteral("s2.hsc");
    default:
        return QStringLiteral("abc.hsc");
    }
}

QString PlayDateText(const QDateTime& when) {
    return when.date().toString(QStringLiteral("yyyy/MM/dd"));
}

QString PlayTimeText(const QDateTime& when) {
    return when.time().toString(QStringLiteral("HH:mm:ss"));
}

ScoreEntry NewScoreEntry(const std::array<AnswerEntry, kTrialQuestions>& sheet,
                         const QString& playerName, const QDateTime& when) {
    ScoreEntry e;
    int score = 0;
    int correct = 0;
    for (const AnswerEntry& a : sheet) {
        if (a.Points > 0) {
            score += a.Points;
            ++correct;
        }
    }
    e.Score = static_cast<int16_t>(std::min(score, static_cast<int>(INT16_MAX)));
    e.CorrectCount = static_cast<int16_t>(correct);
    e.PlayerName = playerName;
    e.PlayDate = PlayDateText(when);
    e.PlayTime = PlayTimeText(when);
    return e;
}

QString FormatScoreLine(const ScoreEntry& e) {
    return NumberItem(e.Score) + QLatin1Char(',') + NumberItem(e.CorrectCount) + QLatin1Char(',') +
           QuotedItem(e.PlayerName) + QLatin1Char(',') + QuotedItem(e.PlayDate) + QLatin1Char(',') +
           QuotedItem(e.PlayTime);
}

QByteArray FormatRanking(const std::vector<ScoreEntry>& merged) {
    QString text;
    const size_t n = std::min(merged.size(), static_cast<size_t>(kRankingSize));
    for (size_t j = 0; j < n; ++j) {
        if (merged[j].Score < 1) break;
        text += FormatScoreLine(merged[j]) + QStringLiteral("\r\n");
    }
    return EncodeSjis(text);
}

RankingRead ParseRanking(const QByteArray& bytes) {
    RankingRead read;
    const QList<QByteArray> lines = bytes.split('\n');
    int lineNo = 0;
    for (QByteArray raw : lines) {
        ++lineNo;
        if (static_cast<int>(read.entries.size()) >= kRankingSize) break;
        if (raw.endsWith('\r')) raw.chop(1);
        bool ok = true;
        const QString line = DecodeSjis(raw, &ok);
        if (ok && line.trimmed().isEmpty()) continue;
        QStringList fields;
        ScoreEntry e;
        if (!ok || !SplitFields(line, fields) || fields.size() != 5 ||
            !ParseNumber(fields[0], e.Score) || !ParseNumber(fields[1], e.CorrectCount)) {
            read.badLine = lineNo;
            break;
        }
        e.PlayerName = fields[2];
        e.PlayDate = fields[3];
        e.PlayTime = fields[4];
        read.entries.push_back(e);
    }
    return read;
}

MergedRanking MergeRanking(const std::vector<ScoreEntry>& loaded, const ScoreEntry& entry) {
    MergedRanking m;
    const size_t count = std::min(loaded.size(), static_cast<size_t>(kRankingSize));
    bool inserted = false;
    for (size_t i = 0; i < count; ++i) {
        if (!inserted && loaded[i].Score < entry.Score) {
            m.merged.push_back(entry);
            m.newPosition = static_cast<int>(i);
            inserted = true;
        }
        m.merged.push_back(loaded[i]);
    }
    if (!inserted) {
        m.merged.push_back(entry);
        m.newPosition = static_cast<int>(count);
    }
    m.rankedIn = m.newPosition < kRankingSize && entry.Score != 0;
    return m;
}

QString ShortDate(const QString& date) {
    const qsizetype slash = date.indexOf(QLatin1Char('/'));
    if (slash >= 2) return date.mid(slash - 2);
    return date;
}

QDateTime HiscoreNow() {
    if (Clock()) return Clock()();
    return QDateTime::currentDateTime();
}

void SetHiscoreClock(std::function<QDateTime()> clock) {
    Clock() = std::move(clock);
}
