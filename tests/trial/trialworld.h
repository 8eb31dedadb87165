// A tiny installation in a temporary folder for the trial's window tests:
// three data sets built with EncodeProblem, tile pictures, announcement
// files, one registered player, and router doubles that count what opens.
#pragma once

#include "library/courses.h"
#include "library/files.h"
#include "library/player.h"
#include "library/problem.h"
#include "library/session.h"
#include "platform/recordingplatform.h"
#include "rules/outcome.h"
#include "shell/router.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>
#include <map>

struct Move {
    int x, y, code, best;
};

// Black at (5,5), White at (0,0); the root's children are the given moves.
// With the default moves (2,2) and (4,4) are best (白死, 長生（黒成功）),
// (3,3) is inferior (白生き), (8,8) is legal but not in the tree.
inline Problem MakeProblem(std::vector<Move> moves = {{2, 2, 5, 0}, {3, 3, 55, 0}, {4, 4, 4, 0}},
                           int difficulty = 30) {
    Problem p;
    p.gInitBoard[5 + 19 * 5] = kBlack;
    p.gInitBoard[0] = kWhite;
    p.ViewSize = 19;
    p.Difficulty = static_cast<int16_t>(difficulty);
    p.ProbPurpose = 2;
    p.hands = static_cast<int16_t>(moves.size());
    for (size_t i = 0; i < moves.size(); ++i) {
        p.prev[i] = kRoot;
        p.x[i] = static_cast<uint8_t>(moves[i].x);
        p.y[i] = static_cast<uint8_t>(moves[i].y);
        p.code[i] = static_cast<uint8_t>(moves[i].code);
        p.best[i] = static_cast<uint8_t>(moves[i].best);
    }
    return p;
}

class TrialWorld {
public:
    QTemporaryDir dir;
    ScopedRecordingPlatform platform;
    std::map<Role, int> opened;
    int menuRefreshes = 0;

    // levels: the Level of each "abc" problem; s1 and s2 hold `small`
    // problems each (s1's first problem has 35 children).
    explicit TrialWorld(const std::vector<int>& levels, int small = 3) {
        gDataPath = MakeDataPath(dir.path());
        InitOutcomeTable();
        std::vector<Problem> abc;
        for (int level : levels)
            abc.push_back(MakeProblem({{2, 2, 5, 0}, {3, 3, 55, 0}, {4, 4, 4, 0}}, level));
        std::vector<Problem> s1, s2;
        for (int i = 0; i < small; ++i) {
            s1.push_back(i == 0 ? ManyChildren() : MakeProblem());
            s2.push_back(MakeProblem());
        }
        writeSet("abc", abc);
        writeSet("s1", s1);
        writeSet("s2", s2);
        QVERIFY(InitCourses());
        writeTiles();
        for (const char* s : {"min02", "min01", "sec30", "sec20", "sec10", "sec05", "sec04",
                              "sec03", "sec02", "sec01", "stone"})
            write(QString::fromLatin1(s) + ".wav", "RIFF");

        gPlayerCount = 1;
        gPlayerName[0] = QStringLiteral("テスト");
        gCurPlayer = 0;
        gPlayerRecord = PlayerRecord{};
        for (size_t i = 0; i < levels.size(); ++i)
            gPlayerRecord.Stat[i].Level = static_cast<uint8_t>(levels[i]);
        savePlayer();
        ClearAnswerSheet();
        gQuestionNo = 0;
        gMode = 1;

        SetMenuRefresh([this] { ++menuRefreshes; });
        for (Role r : {Role::CourseSelect, Role::Trial, Role::HiScore, Role::Review, Role::Learn,
                       Role::View})
            stub(r);
    }
    ~TrialWorld() {
        SetMenuRefresh(nullptr);
        for (QWidget* w : QApplication::topLevelWidgets())
            w->deleteLater();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A window for `role` that only counts its opening.
    void stub(Role role) {
        RegisterWindow(role, [this, role] {
            ++opened[role];
            auto* w = new QWidget;
            w->setObjectName(QStringLiteral("stub"));
            return w;
        });
    }

    void savePlayer() { QVERIFY(SavePlayerFile(0)); }
    // The player's record as it stands in the file.
    PlayerRecord playerOnDisk() const {
        QFile f(gDataPath + PlayerFileName(0));
        if (!f.open(QIODevice::ReadOnly)) return {};
        return PlayerRecordFromBytes(f.readAll());
    }
    void write(const QString& name, const QByteArray& bytes) const {
        QFile f(gDataPath + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const QString& name) const {
        QFile f(gDataPath + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static Problem ManyChildren() {
        std::vector<Move> moves;
        for (int i = 0; i < 35; ++i)
            moves.push_back({i % 19, 10 + i / 19, i == 34 ? 5 : 55, 0});
        return MakeProblem(moves);
    }

private:
    void writeSet(const QString& base, const std::vector<Problem>& problems) {
        QByteArray dr, dt;
        for (const Problem& p : problems) {
            dt += EncodeProblem(p);
            const quint32 end = static_cast<quint32>(dt.size());
            for (int b = 0; b < 4; ++b)
                dr.append(static_cast<char>((end >> (8 * b)) & 0xFF));
        }
        write(base + ".dr", dr);
        write(base + ".dt", dt);
    }
    void writeTiles() {
        QImage board(390, 390, QImage::Format_RGB32);
        board.fill(QColor(220, 180, 100));
        QVERIFY(board.save(gDataPath + "board.bmp", "BMP"));
        for (const char* name : {"marble.bmp", "kaede.bmp"}) {
            QImage back(64, 64, QImage::Format_RGB32);
            back.fill(QColor(200, 200, 210));
            QVERIFY(back.save(gDataPath + QLatin1String(name), "BMP"));
        }
        for (int i = 0; i < 16; ++i) {
            const int size = std::array<int, 4>{29, 20, 11, 9}[static_cast<size_t>(i / 4)];
            QImage tile(size, size, QImage::Format_RGB32);
            const bool mask = i % 2 == 1;
            tile.fill(mask ? Qt::white : Qt::black);
            QPainter painter(&tile);
            painter.setPen(Qt::NoPen);
            painter.setBrush(mask ? QColor(Qt::black)
                                  : (i & 2 ? QColor(Qt::white) : QColor(30, 30, 30)));
            painter.drawEllipse(0, 0, size - 1, size - 1);
            painter.end();
            QVERIFY(tile.save(gDataPath + StoneBitmapName(i), "BMP"));
        }
    }
};
