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
#include "tests/common/problemset.h"

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
    TreeBuilder tree(19);
    tree.black({{5, 5}}).white({{0, 0}}).purpose(2).difficulty(difficulty);
    for (const Move& m : moves)
        tree.node(kRoot, m.x, m.y, m.code, m.best);
    return tree.problem();
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
        QVERIFY(WriteSetFiles(dir.path(), QStringLiteral("abc"), abc));
        QVERIFY(WriteSetFiles(dir.path(), QStringLiteral("s1"), s1));
        QVERIFY(WriteSetFiles(dir.path(), QStringLiteral("s2"), s2));
        QVERIFY(InitCourses());
        SetCommentLists({});
        QVERIFY(WriteBoardPictures(dir.path()));
        QVERIFY(WriteSoundStubs(dir.path(), {"min02", "min01", "sec30", "sec20", "sec10", "sec05",
                                             "sec04", "sec03", "sec02", "sec01", "stone"}));

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
};
