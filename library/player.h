// Roster, player files, template copy, comment lists and two display helpers.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
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
// What parsing found wrong: the 1-based line where reading stopped (the
// players before it are kept) and the first line whose name held bytes that
// are not Shift-JIS (the player is kept); 0 when none.
struct RosterParse {
    int badLine = 0;
    int badTextLine = 0;
};
// Parses the roster text; `current` keeps its value when no line is marked.
RosterParse ParseRoster(const QByteArray& bytes, Roster& roster);
QByteArray FormatRoster(const Roster& roster);
// Reads "vm2.ply" into the program-wide roster. A file that cannot be read
// at all (too large, unreadable, a bad first line) gives no players; a bad
// later line keeps the players before it. Either way RosterProblem() says
// what was wrong, naming the file, and a notice is queued once (see
// TakeFileNotices).
void ReadRoster();
// Empty when the last ReadRoster read the whole file (or there was none).
// While it is not empty, writing the roster would drop players the file may
// still hold: ask the user first.
QString RosterProblem();
// Writes the roster. When the file read last was damaged, it is kept aside
// first (vm2.ply.bad) so the players it held are not lost; `keptAs` then
// receives its new name.
bool WriteRoster(QString* error = nullptr, QString* keptAs = nullptr);
// The same for a roster other than the program-wide one.
bool WriteRosterFile(const Roster& roster, QString* error = nullptr, QString* keptAs = nullptr);

// A thinking time the trial can use: 10..300 seconds in steps of 10.
bool ValidThinkTime(int seconds);

// Player file i into gPlayerRecord. A registered player's file that is
// missing or short is rebuilt from the template, the short one kept aside,
// and a notice queued (for an index past the roster it is read as
// zero-filled and nothing is created); a thinking time out of range is read
// as 60. False with `error` naming the file when it cannot be read or rebuilt:
// the record in memory is then not the player's and must not be saved.
bool LoadPlayerFile(int i, QString* error = nullptr);
bool SavePlayerFile(int i, QString* error = nullptr);
void DefaultSettings();
// Copies the template to player file i. An existing file there is never
// overwritten: it is kept aside as `name`.old first and `keptAs` receives
// that name.
bool CreatePlayerFile(int i, QString* error = nullptr, QString* keptAs = nullptr);
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
// more than 250 comments. Bytes that are not Shift-JIS queue a notice naming
// the file and line.
bool ReadCommentLists(QString* error = nullptr);
// The lists are read when a window first needs them: reads them unless they
// were read from gDataPath already.
bool EnsureCommentLists(QString* error = nullptr);
// Puts `entries` in place of the lists of gDataPath, as if read from it.
void SetCommentLists(std::vector<CommentEntry> entries);
QString ProbComment(int course, int n);

// Messages about damaged files that were repaired or read in part, for the
// user; the shell shows them. Taking them empties the queue.
void AddFileNotice(const QString& text);
QStringList TakeFileNotices();

QString ToWideDigits(const QString& s);
int StoneBitmapIndex(int pitch, int colour, int mask);
// The edge of the tiles used for a stone pitch: the pitch itself for 29, 20,
// 11 and 9 pixels, 29 for any other (those tiles are then centred).
int StoneTileSize(int pitch);
QString StoneBitmapName(int index);
