// libFuzzer entry point (built with -DVELMORA_FUZZ=ON and clang): a high-score
// file read as the high-score window reads it, a new result merged in and the
// file image written from it read back.
#include "records/hiscore/hiscore.h"

#include <QDateTime>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const RankingRead read = ParseRanking(bytes);
    if (read.entries.size() > size_t(kRankingSize)) std::abort();

    ScoreEntry entry;
    entry.Score = 850;
    entry.CorrectCount = 7;
    entry.PlayerName = QStringLiteral("本因坊");
    entry.PlayDate = PlayDateText(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 3)));
    entry.PlayTime = PlayTimeText(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 3)));
    const MergedRanking merged = MergeRanking(read.entries, entry);
    const RankingRead back = ParseRanking(FormatRanking(merged.merged));
    if (back.entries.size() > size_t(kRankingSize)) std::abort();
    for (const ScoreEntry& e : back.entries)
        (void)ShortDate(e.PlayDate);
    return 0;
}
