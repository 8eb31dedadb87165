// The platform layer: sound routing and the sound backend's arithmetic, the
// single-instance lock, the router and fatal errors.
#include "fixture.h"
#include "library/modules.h"
#include "platform/instance.h"
#include "platform/locale.h"
#include "platform/platform.h"
#include "platform/recordingplatform.h"
#include "platform/sound.h"
#include "shell/appinit.h"
#include "shell/router.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QIcon>
#include <QImage>
#include <QLibrary>
#include <QLockFile>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>
#include <QtTest>
#include <clocale>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <langinfo.h>
#include <optional>
#include <sys/file.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray Wav(int sampleRate, int channels, int bits, int dataBytes, int claimedDataBytes = -1) {
    const int byteRate = sampleRate * channels * bits / 8;
    QByteArray b;
    auto put32 = [&b](quint32 v) {
        char c[4];
        qToLittleEndian(v, c);
        b.append(c, 4);
    };
    auto put16 = [&b](quint16 v) {
        char c[2];
        qToLittleEndian(v, c);
        b.append(c, 2);
    };
    b.append("RIFF");
    put32(quint32(36 + dataBytes));
    b.append("WAVE");
    b.append("LIST"); // a chunk we do not know comes first
    put32(4);
    b.append("INFO");
    b.append("fmt ");
    put32(16);
    put16(1);
    put16(quint16(channels));
    put32(quint32(sampleRate));
    put32(quint32(byteRate));
    put16(quint16(channels * bits / 8));
    put16(quint16(bits));
    b.append("data");
    put32(quint32(claimedDataBytes < 0 ? dataBytes : claimedDataBytes));
    b.append(QByteArray(dataBytes, '\0'));
    return b;
}

} // namespace

class TestPlatform : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        gDataPath = MakeDataPath(dir_.path());
        WriteBytes(dir_.path(), QStringLiteral("stone.wav"), Wav(8000, 1, 16, 1600));
        SetModuleFolder(QStringLiteral(VELMORA_DIST_DIR));
    }

    // The media libraries are loaded by the first sound, not at start-up; the
    // module beside the program carries the three entry points.
    void soundBackendStartsWithFirstSound() {
        QVERIFY(!SoundBackendStarted());
        RecordingPlatform recording;
        SetPlatform(&recording);
        gPlayerRecord.SoundEffect = 0;
        PlaySoundFile(QStringLiteral("stone.wav"), 0);
        SetPlatform(nullptr);
        QVERIFY(!SoundBackendStarted()); // the recording double plays nothing
        HaveAudioOutput();
        QVERIFY(SoundBackendStarted());

        QLibrary module(QDir(QStringLiteral(VELMORA_DIST_DIR)).filePath(kSoundModuleName));
        QVERIFY2(module.load(), qPrintable(module.errorString()));
        for (const char* entry : {"velmora_sound_have_output", "velmora_sound_play_to_end",
                                  "velmora_sound_play_effect"})
            QVERIFY2(module.resolve(entry), entry);
    }

    void playSoundFileRouting_data() {
        QTest::addColumn<int>("soundEffect");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("flag");
        QTest::addColumn<bool>("played");
        QTest::addColumn<bool>("toEnd");
        QTest::newRow("background") << 0 << "stone.wav" << 1 << true << false;
        QTest::newRow("to its end") << 0 << "stone.wav" << 0 << true << true;
        QTest::newRow("other case of the name") << 0 << "STONE.WAV" << 1 << true << false;
        QTest::newRow("sound effects off") << 1 << "stone.wav" << 0 << false << false;
        QTest::newRow("any nonzero setting is off") << 7 << "stone.wav" << 1 << false << false;
        QTest::newRow("missing file is not heard") << 0 << "sec30.wav" << 1 << false << false;
        QTest::newRow("no name") << 0 << "" << 1 << false << false;
    }
    void playSoundFileRouting() {
        QFETCH(int, soundEffect);
        QFETCH(QString, name);
        QFETCH(int, flag);
        QFETCH(bool, played);
        QFETCH(bool, toEnd);
        ScopedRecordingPlatform rec;
        gPlayerRecord.SoundEffect = int16_t(soundEffect);
        PlaySoundFile(name, flag);
        gPlayerRecord.SoundEffect = 0;
        QCOMPARE(rec.platform.sounds.size(), size_t(played ? 1 : 0));
        if (played) {
            QCOMPARE(rec.platform.sounds[0].path, gDataPath + QStringLiteral("stone.wav"));
            QCOMPARE(rec.platform.sounds[0].toEnd, toEnd);
        }
    }

    void wavDuration_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("ms");
        QTest::newRow("one second mono") << Wav(8000, 1, 16, 16000) << 1000;
        QTest::newRow("quarter second stereo") << Wav(44100, 2, 16, 44100) << 250;
        QTest::newRow("data cut short") << Wav(8000, 1, 8, 400, 8000) << 50;
        QTest::newRow("not a wav") << QByteArray("hello, world, not a sound") << -1;
        QTest::newRow("empty") << QByteArray() << -1;
        QTest::newRow("header only") << Wav(8000, 1, 16, 0).left(20) << -1;
    }
    void wavDuration() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, ms);
        QCOMPARE(WavDurationMs(bytes), ms);
    }

    void watchdogAllowsClipPlusTwoSeconds() {
        QCOMPARE(SoundWatchdogMs(300), 2300);
        QCOMPARE(SoundWatchdogMs(0), 2000);
        QCOMPARE(SoundWatchdogMs(-1), 5000);
    }

    void noDeviceMeansNoWait() {
        if (HaveAudioOutput()) QSKIP("this machine has an audio device");
        QElapsedTimer t;
        t.start();
        PlayWithBackend(gDataPath + QStringLiteral("stone.wav"), true);
        PlayWithBackend(gDataPath + QStringLiteral("stone.wav"), false);
        QVERIFY(t.elapsed() < 500);
    }

    // The media player path returns on a broken file without reporting an
    // end, and a watchdog that has run out cuts a clip off. (A hang would
    // show as the test's own time-out; nothing here waits on the clock.)
    void toEndPlayEndsWithClipOrWatchdog() {
        WriteBytes(dir_.path(), QStringLiteral("broken.wav"), QByteArray("RIFF....WAVEjunk"));
        QVERIFY(!PlayToEnd(gDataPath + QStringLiteral("broken.wav"), 60000));
        WriteBytes(dir_.path(), QStringLiteral("long.wav"), Wav(8000, 1, 16, 160000)); // 10 s
        QVERIFY(!PlayToEnd(gDataPath + QStringLiteral("long.wav"), 0));
    }

    // ---- single instance -----------------------------------------------------

    void lockRefusesSecondHolder() {
        QTemporaryDir folder;
        QVERIFY(AcquireInstanceLock(folder.path()));
        QLockFile other(QDir(folder.path()).filePath(QLatin1String(kInstanceLockName)));
        other.setStaleLockTime(0);
        QVERIFY(!other.tryLock(0));
        ReleaseInstanceLock();
        QVERIFY(other.tryLock(0));
        // Now the other holder runs: we are refused.
        QVERIFY(!AcquireInstanceLock(folder.path()));
        other.unlock();
    }

    void lockOfDeadProcessIsTakenBack() {
        QTemporaryDir folder;
        QProcess p;
        p.start(QStringLiteral("/bin/true"), {});
        QVERIFY(p.waitForStarted(5000));
        const qint64 deadPid = p.processId();
        QVERIFY(p.waitForFinished(5000));
        QFile lock(QDir(folder.path()).filePath(QLatin1String(kInstanceLockName)));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(deadPid) + "\nvelmora\n" +
                   QSysInfo::machineHostName().toUtf8() + "\n");
        lock.close();
        QVERIFY(AcquireInstanceLock(folder.path()));
        ReleaseInstanceLock();
    }

    // The lock is the kernel's: a holder killed outright leaves a file
    // behind but no lock, and the next start takes it at once.
    void lockOfKilledHolderIsTakenBack() {
        QTemporaryDir folder;
        const QByteArray path =
            QFile::encodeName(QDir(folder.path()).filePath(QLatin1String(kInstanceLockName)));
        int ready[2];
        QCOMPARE(::pipe(ready), 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            // Only system calls here: take the lock, say so, wait to be killed.
            const int fd = ::open(path.constData(), O_RDWR | O_CREAT, 0644);
            if (fd >= 0 && ::flock(fd, LOCK_EX) == 0) {
                [[maybe_unused]] const ssize_t n = ::write(ready[1], "x", 1);
            }
            for (;;)
                ::pause();
        }
        char c = 0;
        QCOMPARE(::read(ready[0], &c, 1), ssize_t(1));
        ::close(ready[0]);
        ::close(ready[1]);
        QVERIFY(!AcquireInstanceLock(folder.path())); // a running holder: refused
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        QVERIFY(QFile::exists(QFile::decodeName(path)));
        QVERIFY(AcquireInstanceLock(folder.path()));
        ReleaseInstanceLock();
    }

    // Whatever a left-over lock file says (another host, nothing readable)
    // does not matter when nobody holds it.
    void lockFileContentDoesNotMatter_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("another host") << QByteArray("4242\nvelmora\nsome-other-host\n");
        QTest::newRow("garbage") << QByteArray("\xff\xfe\x00 not a lock");
        QTest::newRow("empty") << QByteArray();
    }

    void lockFileContentDoesNotMatter() {
        QFETCH(QByteArray, content);
        QTemporaryDir folder;
        QFile lock(QDir(folder.path()).filePath(QLatin1String(kInstanceLockName)));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(content);
        lock.close();
        QVERIFY(AcquireInstanceLock(folder.path()));
        ReleaseInstanceLock();
    }

    // An entry of the lock's name that cannot be opened as a file is taken
    // for another copy starting up while it is young, and is removed as
    // stale once it is older than a minute.
    void unusableLockEntryIsStaleAfterAMinute_data() {
        QTest::addColumn<bool>("folder"); // a folder in the way, else an unreadable file
        QTest::addColumn<int>("ageSecs");
        QTest::addColumn<bool>("taken");
        QTest::newRow("folder, new") << true << 0 << false;
        QTest::newRow("folder, two minutes old") << true << 120 << true;
        QTest::newRow("unreadable file, new") << false << 0 << false;
        QTest::newRow("unreadable file, two minutes old") << false << 120 << true;
    }

    void unusableLockEntryIsStaleAfterAMinute() {
        QFETCH(bool, folder);
        QFETCH(int, ageSecs);
        QFETCH(bool, taken);
        if (!folder && ::geteuid() == 0) QSKIP("the superuser reads every file");
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath(QLatin1String(kInstanceLockName));
        if (folder) {
            QVERIFY(QDir(dir.path()).mkdir(QLatin1String(kInstanceLockName)));
        } else {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.close();
            QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
        }
        const time_t when = ::time(nullptr) - ageSecs;
        const struct timeval times[2] = {{when, 0}, {when, 0}};
        QCOMPARE(::utimes(QFile::encodeName(path).constData(), times), 0);
        QCOMPARE(AcquireInstanceLock(dir.path()), taken);
        ReleaseInstanceLock();
    }

    void readOnlyFolderStillRuns() {
        if (::geteuid() == 0) QSKIP("the superuser writes into read-only folders");
        QTemporaryDir folder;
        QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QVERIFY(AcquireInstanceLock(folder.path()));
        ReleaseInstanceLock();
        QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ExeOwner);
    }

    // ---- router ----------------------------------------------------------------

    void unregisteredRoleBeeps() {
        ScopedRecordingPlatform rec;
        QVERIFY(!IsWindowRegistered(Role::View));
        QCOMPARE(OpenWindow(Role::View), nullptr);
        QCOMPARE(rec.platform.beeps, 1);
    }

    void registeredRoleOpensWithoutBlocking() {
        RegisterWindow(Role::Learn, [] { return new QWidget; });
        QVERIFY(IsWindowRegistered(Role::Learn));
        QPointer<QWidget> w = OpenWindow(Role::Learn);
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowModality(), Qt::NonModal);
        QVERIFY(w->testAttribute(Qt::WA_DeleteOnClose));
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(w.isNull());
    }

    void myInitFormCallsTheMenu() {
        int calls = 0;
        SetMenuRefresh([&calls] { ++calls; });
        MyInitForm();
        MyInitForm();
        QCOMPARE(calls, 2);
        SetMenuRefresh(nullptr);
        MyInitForm();
        QCOMPARE(calls, 2);
    }

    void fatalErrorShowsTextThenEnds() {
        ScopedRecordingPlatform rec;
        QVERIFY_THROWS_EXCEPTION(ProgramAborted,
                                 FatalError(QStringLiteral("問題データがありません: abc.dr")));
        QCOMPARE(rec.platform.boxes, QStringList{QStringLiteral("問題データがありません: abc.dr")});
    }

    void applicationSpeaksJapanese() {
        QVERIFY(InitApplication(*qApp, QString()));
        QCOMPARE(QApplication::font().family(), QString::fromLatin1(kUiFontFamily));
        QCOMPARE(QApplication::font().pixelSize(), kUiFontPixelSize);
        // Installed and really used (not a fallback).
        QCOMPARE(QFontInfo(QApplication::font()).family(), QString::fromLatin1(kUiFontFamily));
        // Qt's own box buttons come out in Japanese.
        QMessageBox box(QMessageBox::Question, QStringLiteral("Velmora２"), QStringLiteral("?"),
                        QMessageBox::Yes | QMessageBox::No);
        QVERIFY(box.button(QMessageBox::Yes)->text().contains(QStringLiteral("はい")));
        QVERIFY(box.button(QMessageBox::No)->text().contains(QStringLiteral("いいえ")));
    }

    // A user with no locale (a fresh machine) still gets UTF-8 characters,
    // so window titles keep their full-width characters; a locale the user
    // chose is left alone.
    // The window icon takes the sizes window managers draw (up to 128 px);
    // other PNG files of the folder are no icon.
    void iconFileSizes_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("size");
        QTest::newRow("16") << "velmora-16.png" << 16;
        QTest::newRow("256") << "velmora-256.png" << 256;
        QTest::newRow("no size") << "velmora-.png" << 0;
        QTest::newRow("not a number") << "velmora-big.png" << 0;
        QTest::newRow("other picture") << "board.png" << 0;
        QTest::newRow("not a PNG") << "velmora-16.bmp" << 0;
    }
    void iconFileSizes() {
        QFETCH(QString, name);
        QFETCH(int, size);
        QCOMPARE(IconFileSize(name), size);
    }
    void windowIconLeavesTheLargestToTheTheme() {
        QTemporaryDir folder;
        for (int edge : {16, 64, 128, 256}) {
            QImage image(edge, edge, QImage::Format_ARGB32);
            image.fill(Qt::red);
            QVERIFY(image.save(folder.filePath(QStringLiteral("velmora-%1.png").arg(edge))));
        }
        LoadApplicationIcon(folder.path());
        const QList<QSize> sizes = QApplication::windowIcon().availableSizes();
        QCOMPARE(sizes.size(), 3);
        for (const QSize& s : sizes)
            QVERIFY(s.width() <= kMaxWindowIconSize);
        QVERIFY(sizes.contains(QSize(128, 128)));
        QApplication::setWindowIcon(QIcon());
    }

    void utf8LocaleWhenNoneIsSet_data() {
        QTest::addColumn<QByteArray>("lcAll");
        QTest::addColumn<QByteArray>("lang");
        QTest::addColumn<bool>("switched");
        QTest::addColumn<QByteArray>("lcAllAfter");
        QTest::addColumn<QByteArray>("lcCtypeAfter");
        QTest::newRow("nothing set")
            << QByteArray() << QByteArray() << true << QByteArray() << QByteArray("C.UTF-8");
        QTest::newRow("LANG=C") << QByteArray() << QByteArray("C") << true << QByteArray()
                                << QByteArray("C.UTF-8");
        QTest::newRow("LC_ALL=POSIX")
            << QByteArray("POSIX") << QByteArray() << true << QByteArray("C.UTF-8") << QByteArray();
        QTest::newRow("a locale this machine lacks")
            << QByteArray() << QByteArray("xx_YY.ISO-8859-1") << true << QByteArray()
            << QByteArray("C.UTF-8");
        QTest::newRow("already UTF-8")
            << QByteArray() << QByteArray("C.UTF-8") << false << QByteArray() << QByteArray();
    }
    void utf8LocaleWhenNoneIsSet() {
        QFETCH(QByteArray, lcAll);
        QFETCH(QByteArray, lang);
        QFETCH(bool, switched);
        QFETCH(QByteArray, lcAllAfter);
        QFETCH(QByteArray, lcCtypeAfter);
        const char* names[] = {"LC_ALL", "LC_CTYPE", "LANG"};
        QList<std::optional<QByteArray>> saved;
        for (const char* n : names)
            saved << (qEnvironmentVariableIsSet(n) ? std::optional(qgetenv(n)) : std::nullopt);
        auto set = [](const char* n, const QByteArray& v) {
            if (v.isEmpty())
                qunsetenv(n);
            else
                qputenv(n, v);
        };
        set("LC_ALL", lcAll);
        set("LC_CTYPE", QByteArray());
        set("LANG", lang);

        QCOMPARE(EnsureUtf8Locale(), switched);
        QCOMPARE(QByteArray(nl_langinfo(CODESET)), QByteArray("UTF-8"));
        QCOMPARE(qgetenv("LC_ALL"), lcAllAfter);
        QCOMPARE(qgetenv("LC_CTYPE"), lcCtypeAfter);
        QCOMPARE(qgetenv("LANG"), lang);

        for (int i = 0; i < 3; ++i)
            set(names[i], saved[i].value_or(QByteArray()));
        std::setlocale(LC_ALL, "");
    }

    // The real Yes/No box: Return alone answers No (いいえ is the default),
    // Escape too; only a press on はい says Yes.
    void questionDefaultsToNo_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("answer");
        QTest::newRow("Return") << int(Qt::Key_Return) << false;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << false;
        QTest::newRow("はい pressed") << 0 << true;
    }
    void questionDefaultsToNo() {
        QFETCH(int, key);
        QFETCH(bool, answer);
        InitApplication(*qApp, QString());
        int polls = 0;
        bool seen = false;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (++polls > 300) { // 3 s: a missing box fails, never hangs
                poll.stop();
                if (box) box->reject();
                return;
            }
            if (!box) return;
            poll.stop();
            seen = true;
            QCOMPARE(static_cast<QAbstractButton*>(box->defaultButton()),
                     box->button(QMessageBox::No));
            if (key)
                QTest::keyClick(box, Qt::Key(key));
            else
                box->button(QMessageBox::Yes)->click();
        });
        poll.start();
        Platform real;
        QCOMPARE(real.askYesNo(QStringLiteral("登録番号２のプレイヤー「B」を削除しますか？")),
                 answer);
        QVERIFY(seen);
    }

    void busyCursorRestores() {
        QVERIFY(!QGuiApplication::overrideCursor());
        {
            BusyCursor busy;
            QVERIFY(QGuiApplication::overrideCursor());
            QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        QVERIFY(!QGuiApplication::overrideCursor());
    }
};

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
