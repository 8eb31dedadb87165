// Roster, player files, template copy, comment lists and two display helpers.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

inline constexpr int kMaxPlayers = 10;
inline constexpr int kPlayerFileSize = 12248;
inline constexpr int kProbStatOffset = 248;
inline constexpr int kMaxComments = 250;

extern int16_t gPlayerCount;
extern std::array<QString, kMaxPlayers> gPlayerName;
extern int16_t gCurPlayer;

struct ProbStat {
    uint8_t Level = 0;
    uint8_t Asked = 0;
    uint8_t Correct = 0;
    uint8_t Selected = 0;
};

struct PlayerRecord {
    int16_t ThinkTime = 60;
    int16_t SoundEffect = 0;
    int16_t MakeQ = 0;
    int16_t LastCourse = 0;
    std::array<int16_t, 3> LastProb{};
    int16_t FormArrange = 0;
    int16_t BGMEffect = 0;
    int16_t Background = 0;
    std::array<uint8_t, 8> reserved1{};
    int16_t ColorMode = 0;
    std::array<uint8_t, 218> reserved2{};
    std::array<ProbStat, 3000> Stat{};
};

// The image of the current player's file.
extern PlayerRecord gPlayerRecord;

// Byte image <-> record. A short image is read as if zero-filled.
PlayerRecord PlayerRecordFromBytes(const QByteArray& bytes);
QByteArray PlayerRecordToBytes(const PlayerRecord& r);

QString PlayerFileName(int i);

// Roster text <-> roster (pure), and the file routines over the globals.
struct Roster {
    int16_t count = 0;
    std::array<QString, kMaxPlayers> names;
    int16_t current = 0;
};
// Parses the roster text; `current` keeps its value when no line is marked.
void ParseRoster(const QByteArray& bytes, Roster& roster);
QByteArray FormatRoster(const Roster& roster);
void ReadRoster();
bool WriteRoster(QString* error = nullptr);

// Player file i into gPlayerRecord (missing or short: zero-filled, nothing
// created). False only when the file exists but cannot be read.
bool LoadPlayerFile(int i, QString* error = nullptr);
bool SavePlayerFile(int i, QString* error = nullptr);
void DefaultSettings();
bool CreatePlayerFile(int i, QString* error = nullptr);
// Copies player file `from` over `to` (atomic); used when a player is deleted.
bool CopyPlayerFile(int from, int to, QString* error = nullptr);

struct CommentEntry {
    int16_t Course = 0;
    int16_t ProbIndex = 0;
    QString Text;
};
extern std::vector<CommentEntry> gComments;
extern int16_t gCommentCount;

// Splits one comment file into its fields (comma / line end, quotes kept
// together, surrounding spaces dropped).
std::vector<QString> ParseCommentFields(const QString& text);
// Reads "s1.txt" and "s2.txt". False when one is missing or the lists hold
// more than 250 comments.
bool ReadCommentLists(QString* error = nullptr);
QString ProbComment(int course, int n);

QString ToWideDigits(const QString& s);
int StoneBitmapIndex(int pitch, int colour, int mask);
// The edge of the tiles used for a stone pitch: the pitch itself for 29, 20,
// 11 and 9 pixels, 29 for any other (those tiles are then centred).
int StoneTileSize(int pitch);
QString StoneBitmapName(int index);
