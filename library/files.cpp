#include "files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringConverter>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString gDataPath;

QString MakeDataPath(const QString& folder) {
    QString path = folder;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
    return path;
}

QString DataFile(const QString& name, const QString& folder) {
    const QString base = folder.isEmpty() ? gDataPath : MakeDataPath(folder);
    const QString exact = base + name;
    if (QFileInfo::exists(exact)) return exact;
    const QDir dir(base.isEmpty() ? QStringLiteral(".") : base);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return base + entry;
    }
    return exact;
}

std::optional<QByteArray> ReadFileBounded(const QString& path, qint64 maxBytes, QString* error) {
    QFile file(path);
    if (!file.exists()) {
        if (error) *error = QStringLiteral("ファイルがありません: %1").arg(path);
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("ファイルを読めません: %1").arg(path);
        return std::nullopt;
    }
    if (file.size() > maxBytes) {
        if (error) *error = QStringLiteral("ファイルが大きすぎます: %1").arg(path);
        return std::nullopt;
    }
    QByteArray data = file.read(maxBytes + 1);
    if (data.size() > maxBytes || file.error() != QFileDevice::NoError) {
        if (error) *error = QStringLiteral("ファイルを読めません: %1").arg(path);
        return std::nullopt;
    }
    return data;
}

namespace {

WriteFaultHook& FaultHook() {
    static WriteFaultHook hook;
    return hook;
}

int Fault(WriteStep step) {
    const WriteFaultHook& hook = FaultHook();
    return hook ? hook(step) : 0;
}

} // namespace

QString WriteErrorReason(int err) {
    switch (err) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ディスクに空きがありません");
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("書き込みが許可されていません");
    default:
        return QString::fromLocal8Bit(std::strerror(err));
    }
}

namespace {

// Makes a finished rename durable: the folder entry reaches the disk too.
void SyncFolder(const QByteArray& target) {
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : target.left(slash > 0 ? slash : 1);
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

void SetWriteFaultHook(WriteFaultHook hook) {
    FaultHook() = std::move(hook);
}

bool WriteFileAtomic(const QString& path, const QByteArray& data, QString* error) {
    const QByteArray target = QFile::encodeName(path);
    QByteArray temp = target + QByteArrayLiteral(".XXXXXX");
    int err = Fault(WriteStep::Open);
    int fd = -1;
    if (err == 0) {
        fd = ::mkstemp(temp.data());
        if (fd < 0) err = errno;
    }
    if (err == 0) {
        // The new file gets the permissions of the one it replaces.
        struct stat old {};
        const mode_t mode = ::stat(target.constData(), &old) == 0 ? (old.st_mode & 07777) : 0644;
        ::fchmod(fd, mode);
        const char* p = data.constData();
        qsizetype left = data.size();
        while (err == 0 && left > 0) {
            err = Fault(WriteStep::Write);
            if (err != 0) break;
            const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
            if (n < 0) {
                if (errno != EINTR) err = errno;
            } else if (n == 0) {
                err = EIO;
            } else {
                p += n;
                left -= n;
            }
        }
        if (err == 0) {
            err = Fault(WriteStep::Flush);
            if (err == 0 && ::fsync(fd) != 0) err = errno;
        }
        if (::close(fd) != 0 && err == 0) err = errno;
        if (err == 0) {
            err = Fault(WriteStep::Rename);
            if (err == 0 && ::rename(temp.constData(), target.constData()) != 0) err = errno;
        }
        if (err != 0) ::unlink(temp.constData());
    }
    if (err != 0) {
        if (error)
            *error = QStringLiteral("ファイルに書き込めません: %1（%2）")
                         .arg(path, WriteErrorReason(err));
        return false;
    }
    SyncFolder(target);
    return true;
}

QStringList WrittenFileNames() {
    QStringList names{QStringLiteral("vm2.ply")};
    for (int i = 0; i < 10; ++i)
        names << QStringLiteral("vm2.ps%1").arg(i);
    names << QStringLiteral("abc.hsc") << QStringLiteral("s1.hsc") << QStringLiteral("s2.hsc");
    return names;
}

int RemoveStaleTempFiles(const QString& folder, const QStringList& names) {
    const QStringList ours = names.isEmpty() ? WrittenFileNames() : names;
    QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    int removed = 0;
    for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        // name.XXXXXX: six letters or digits, as the write routine makes them
        const qsizetype dot = entry.size() - 7;
        if (dot <= 0 || entry[dot] != QLatin1Char('.')) continue;
        if (!ours.contains(entry.left(dot), Qt::CaseInsensitive)) continue;
        bool tail = true;
        for (qsizetype i = dot + 1; i < entry.size(); ++i) {
            const QChar c = entry[i];
            tail = tail && c.unicode() < 128 && c.isLetterOrNumber();
        }
        if (tail && dir.remove(entry)) ++removed;
    }
    return removed;
}

QString KeepAside(const QString& path, QString* error, const QString& suffix) {
    const QFileInfo info(path);
    for (int n = 1; n < 1000; ++n) {
        const QString name =
            info.fileName() + QLatin1Char('.') + suffix + (n > 1 ? QString::number(n) : QString());
        const QString aside = info.absolutePath() + QLatin1Char('/') + name;
        if (QFileInfo::exists(aside)) continue;
        if (::rename(QFile::encodeName(path).constData(), QFile::encodeName(aside).constData()) ==
            0)
            return name;
        if (error)
            *error = QStringLiteral("ファイルの名前を変えられません: %1（%2）")
                         .arg(path, WriteErrorReason(errno));
        return QString();
    }
    if (error) *error = QStringLiteral("ファイルの名前を変えられません: %1").arg(path);
    return QString();
}

QString DecodeSjis(const QByteArray& bytes, bool* ok) {
    QStringDecoder decoder("Shift_JIS", QStringConverter::Flag::Stateless);
    if (!decoder.isValid()) {
        if (ok) *ok = false;
        return QString::fromLatin1(bytes);
    }
    QString text = decoder.decode(bytes);
    const bool good = !decoder.hasError();
    // Invalid sequences come out as U+001A (SUB); show them as the usual
    // replacement character.
    if (!good) text.replace(QChar(0x1A), QChar(0xFFFD));
    if (ok) *ok = good;
    return text;
}

QByteArray EncodeSjis(const QString& text, bool* ok) {
    QString t = text;
    t.replace(QChar(0x301C), QChar(0xFF5E));
    QStringEncoder encoder("Shift_JIS", QStringConverter::Flag::Stateless);
    if (!encoder.isValid()) {
        if (ok) *ok = false;
        return t.toLatin1();
    }
    QByteArray bytes = encoder.encode(t);
    bool good = !encoder.hasError();
    // Characters Shift-JIS cannot hold come out as FC FC; report them.
    if (good) {
        for (qsizetype i = 0; i + 1 < bytes.size(); ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
            if (lead) {
                if (b == 0xFC && static_cast<unsigned char>(bytes[i + 1]) == 0xFC) good = false;
                ++i;
            }
        }
    }
    if (ok) *ok = good;
    return bytes;
}
