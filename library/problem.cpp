#include "problem.h"

#include "courses.h"
#include "files.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

void SetError(QString* error, const QString& text) {
    if (error) *error = text;
}

// Reads one stone list starting at `pos`; false when it runs past the end or
// leaves the board.
bool DecodeStoneList(const QByteArray& b, qsizetype& pos, int16_t colour, Board& board,
                     QString* error) {
    int last = -1;
    for (;;) {
        if (pos >= b.size()) {
            SetError(error, QStringLiteral("石のリストがブロックの終わりを越えています"));
            return false;
        }
        const int byte = static_cast<unsigned char>(b[pos++]);
        if (byte == 0) return true;
        int gap = byte;
        if (byte >= 128) {
            if (pos >= b.size()) {
                SetError(error, QStringLiteral("石のリストがブロックの終わりを越えています"));
                return false;
            }
            gap = (byte & 0x7F) + 128 * static_cast<unsigned char>(b[pos++]);
        }
        if (gap == 0) {
            // 0x80 0x00: a two-byte gap of nothing, which would set a stone twice
            SetError(error, QStringLiteral("石の間隔が0です"));
            return false;
        }
        last += gap;
        if (last > 360) {
            SetError(error, QStringLiteral("石の位置が盤の外です (%1)").arg(last));
            return false;
        }
        board[last] = colour;
    }
}

void EncodeStoneList(QByteArray& out, const Board& board, int16_t colour) {
    int last = -1;
    for (int p = 0; p < kPoints; ++p) {
        if (board[p] != colour) continue;
        const int gap = p - last;
        if (gap < 128) {
            out.append(static_cast<char>(gap));
        } else {
            out.append(static_cast<char>((gap % 128) | 0x80));
            out.append(static_cast<char>(gap / 128));
        }
        last = p;
    }
    out.append('\0');
}

} // namespace

bool ValidateTree(const Problem& p, QString* error) {
    if (p.hands < 0 || p.hands > kMaxNodes) {
        SetError(error, QStringLiteral("手数が1000を超えています (%1)").arg(p.hands));
        return false;
    }
    std::array<int16_t, kMaxNodes> childCount{};
    int rootChildren = 0;
    for (int n = 0; n < p.hands; ++n) {
        const int parent = p.prev[n];
        if (p.x[n] > 18 || p.y[n] > 18) {
            SetError(error, QStringLiteral("ノード%1の着手が盤の外です").arg(n));
            return false;
        }
        if (parent == kRoot) {
            if (++rootChildren > kMaxChildren) {
                SetError(error, QStringLiteral("初期局面の候補手が41を超えています"));
                return false;
            }
            continue;
        }
        if (parent < 0 || parent >= p.hands || parent == n) {
            SetError(error, QStringLiteral("ノード%1の親 (%2) がありません").arg(n).arg(parent));
            return false;
        }
        if (++childCount[parent] > kMaxChildren) {
            SetError(error, QStringLiteral("ノード%1の候補手が41を超えています").arg(parent));
            return false;
        }
    }
    // Every leaf carries a class of the outcome table; an unknown one would
    // rank below every real outcome.
    std::array<bool, kMaxNodes> hasChild{};
    for (int n = 0; n < p.hands; ++n) {
        if (p.prev[n] != kRoot) hasChild[size_t(p.prev[n])] = true;
    }
    for (int n = 0; n < p.hands; ++n) {
        if (hasChild[size_t(n)]) continue;
        if (std::find(kOutcomeClasses.begin(), kOutcomeClasses.end(), p.code[n]) ==
            kOutcomeClasses.end()) {
            SetError(error, QStringLiteral("ノード%1の結果コード (%2) は結果の表にありません")
                                .arg(n)
                                .arg(p.code[n] * 10 + p.best[n]));
            return false;
        }
    }
    // Depth of every node, with cycle detection: a walk longer than the node
    // count has met a cycle.
    std::array<int16_t, kMaxNodes> depth{};
    depth.fill(-1);
    for (int n = 0; n < p.hands; ++n) {
        int d = 0;
        int cur = n;
        int steps = 0;
        while (cur != kRoot && depth[cur] < 0) {
            cur = p.prev[cur];
            ++d;
            if (++steps > p.hands) {
                SetError(error, QStringLiteral("ノード%1の親をたどると循環しています").arg(n));
                return false;
            }
        }
        const int total = d + (cur == kRoot ? 0 : depth[cur]);
        if (total > kMaxPath) {
            SetError(error, QStringLiteral("手順が401手を超えています (ノード%1)").arg(n));
            return false;
        }
        // Fill the depths along the walked chain.
        int fill = total;
        cur = n;
        while (cur != kRoot && depth[cur] < 0) {
            depth[cur] = static_cast<int16_t>(fill--);
            cur = p.prev[cur];
        }
    }
    return true;
}

bool DecodeProblem(const QByteArray& b, Problem& out, QString* error) {
    Problem p;
    qsizetype pos = 0;
    if (!DecodeStoneList(b, pos, kBlack, p.gInitBoard, error)) {
        out = Problem();
        return false;
    }
    if (!DecodeStoneList(b, pos, kWhite, p.gInitBoard, error)) {
        out = Problem();
        return false;
    }
    if (b.size() - pos < 4) {
        SetError(error, QStringLiteral("ヘッダーがブロックの終わりを越えています"));
        out = Problem();
        return false;
    }
    const int h1 = static_cast<unsigned char>(b[pos++]);
    const int h2 = static_cast<unsigned char>(b[pos++]);
    p.ViewSize = static_cast<int16_t>(h1 & 0x7F);
    p.HeadFlag = static_cast<int16_t>(h1 >> 7);
    p.Difficulty = static_cast<int16_t>(h2 & 0x1F);
    p.ProbPurpose = static_cast<int16_t>(h2 >> 5);
    const int hands =
        static_cast<unsigned char>(b[pos]) | (static_cast<unsigned char>(b[pos + 1]) << 8);
    pos += 2;
    if (hands > kMaxNodes) {
        SetError(error, QStringLiteral("ノード数が1000を超えています (%1)").arg(hands));
        out = Problem();
        return false;
    }
    if (b.size() - pos < static_cast<qsizetype>(hands) * 5) {
        SetError(error, QStringLiteral("ノードがブロックの終わりを越えています"));
        out = Problem();
        return false;
    }
    p.hands = static_cast<int16_t>(hands);
    for (int i = 0; i < hands; ++i) {
        const auto b0 = static_cast<unsigned char>(b[pos]);
        const auto b1 = static_cast<unsigned char>(b[pos + 1]);
        const auto b2 = static_cast<unsigned char>(b[pos + 2]);
        const auto b3 = static_cast<unsigned char>(b[pos + 3]);
        const auto b4 = static_cast<unsigned char>(b[pos + 4]);
        pos += 5;
        p.prev[i] = static_cast<int16_t>((b1 & 7) * 256 + b0);
        p.x[i] = static_cast<uint8_t>(b1 >> 3);
        p.y[i] = b2;
        p.code[i] = b3 & 0x7F;
        p.best[i] = static_cast<uint8_t>(b3 >> 7);
        p.repl[i] = b4;
    }
    if (!ValidateTree(p, error)) {
        out = Problem();
        return false;
    }
    out = p;
    return true;
}

QByteArray EncodeProblem(const Problem& p) {
    QByteArray out;
    EncodeStoneList(out, p.gInitBoard, kBlack);
    EncodeStoneList(out, p.gInitBoard, kWhite);
    out.append(static_cast<char>(((p.HeadFlag & 1) << 7) | (p.ViewSize & 0x7F)));
    out.append(static_cast<char>(((p.ProbPurpose & 7) << 5) | (p.Difficulty & 0x1F)));
    out.append(static_cast<char>(p.hands & 0xFF));
    out.append(static_cast<char>((p.hands >> 8) & 0xFF));
    for (int i = 0; i < p.hands && i < kMaxNodes; ++i) {
        out.append(static_cast<char>(p.prev[i] & 0xFF));
        out.append(static_cast<char>((p.x[i] << 3) | ((p.prev[i] >> 8) & 7)));
        out.append(static_cast<char>(p.y[i]));
        out.append(static_cast<char>((p.best[i] << 7) | (p.code[i] & 0x7F)));
        out.append(static_cast<char>(p.repl[i]));
    }
    return out;
}

int CheckIndex(const QByteArray& dr, qint64 dtSize, QString* error) {
    if (dr.size() % 4 != 0 || dr.size() >= 32768) {
        SetError(error, QStringLiteral("索引ファイルの長さが不正です"));
        return -1;
    }
    const int count = static_cast<int>(dr.size() / 4);
    quint32 last = 0;
    for (int k = 0; k < count; ++k) {
        const auto* d = reinterpret_cast<const unsigned char*>(dr.constData()) + 4 * k;
        const quint32 end = d[0] | (d[1] << 8) | (d[2] << 16) | (static_cast<quint32>(d[3]) << 24);
        if (end < last || end > dtSize) {
            SetError(error, QStringLiteral("問題%1の索引が不正です").arg(k + 1));
            return -1;
        }
        last = end;
    }
    return count;
}

bool LoadProblemFromSet(const QString& baseName, int n, Problem& out, QString* error,
                        const QString& folder) {
    const QString drPath = DataFile(baseName + QStringLiteral(".dr"), folder);
    const QString dtPath = DataFile(baseName + QStringLiteral(".dt"), folder);
    QString err;
    const auto dr = ReadFileBounded(drPath, 32767, &err);
    if (!dr) {
        SetError(error, err);
        return false;
    }
    const QFileInfo dtInfo(dtPath);
    if (!dtInfo.exists()) {
        SetError(error, QStringLiteral("ファイルがありません: %1").arg(dtPath));
        return false;
    }
    const qint64 dtSize = dtInfo.size();
    const int count = static_cast<int>(dr->size() / 4);
    if (n < 0 || n >= count) {
        SetError(error, QStringLiteral("%1: 問題%2はありません").arg(drPath).arg(n + 1));
        return false;
    }
    auto entry = [&](int k) -> quint32 {
        const auto* d = reinterpret_cast<const unsigned char*>(dr->constData()) + 4 * k;
        return d[0] | (d[1] << 8) | (d[2] << 16) | (static_cast<quint32>(d[3]) << 24);
    };
    const quint32 start = n > 0 ? entry(n - 1) : 0;
    const quint32 end = entry(n);
    if (end < start) {
        SetError(error, QStringLiteral("%1: 問題%2の索引が不正です").arg(drPath).arg(n + 1));
        return false;
    }
    if (end > dtSize) {
        // The index asks for more than the block file holds: the block file
        // is the one cut short.
        SetError(error,
                 QStringLiteral(
                     "%1: ファイルが短すぎます（問題%2に%3バイト必要、%4バイトしかありません）")
                     .arg(dtPath)
                     .arg(n + 1)
                     .arg(end)
                     .arg(dtSize));
        return false;
    }
    QFile dt(dtPath);
    if (!dt.open(QIODevice::ReadOnly) || !dt.seek(start)) {
        SetError(error, QStringLiteral("ファイルを読めません: %1").arg(dtPath));
        return false;
    }
    const QByteArray block = dt.read(end - start);
    if (block.size() != static_cast<qsizetype>(end - start)) {
        SetError(error, QStringLiteral("ファイルを読めません: %1").arg(dtPath));
        return false;
    }
    QString why;
    if (!DecodeProblem(block, out, &why)) {
        SetError(error,
                 QStringLiteral("%1: 問題%2が壊れています: %3").arg(dtPath).arg(n + 1).arg(why));
        return false;
    }
    out.gTurnOffset = 0;
    return true;
}

bool LoadProblem(int course, int n, Problem& out, QString* error) {
    if (course < 0 || course >= kCourseCount) {
        SetError(error, QStringLiteral("コース%1はありません").arg(course));
        return false;
    }
    return LoadProblemFromSet(gCourses[course].BaseName, n, out, error);
}

void StartExamine(Problem& p, const Board& shown, int16_t moveNumber, int16_t& nowLoc) {
    p.gInitBoard = shown;
    p.gTurnOffset = moveNumber;
    p.hands = 0;
    nowLoc = kRoot;
}

bool AddExamMove(Problem& p, int x, int y, int16_t& nowLoc) {
    if (p.hands >= kMaxNodes) return false;
    const int k = p.hands;
    p.prev[k] = nowLoc;
    p.x[k] = static_cast<uint8_t>(x);
    p.y[k] = static_cast<uint8_t>(y);
    p.code[k] = 0;
    p.best[k] = 0;
    p.repl[k] = 0;
    nowLoc = static_cast<int16_t>(k);
    p.hands = static_cast<int16_t>(k + 1);
    return true;
}

bool TakeBackExamMove(Problem& p, int16_t& nowLoc) {
    if (p.hands <= 0) return false;
    if (nowLoc != kRoot) nowLoc = p.prev[nowLoc];
    p.hands = static_cast<int16_t>(p.hands - 1);
    return true;
}
