#include "writefolder.h"

#include "files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstdlib>
#include <unistd.h>

namespace {

const QString kTemplateName = QStringLiteral("vm2.psn");

} // namespace

bool FolderIsWritable(const QString& folder) {
    if (!QFileInfo(folder).isDir()) return false;
    QByteArray name =
        QFile::encodeName(MakeDataPath(folder) + QStringLiteral(".velmora-write-XXXXXX"));
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        // A full disk is still the program's own folder: its players must
        // not seem to vanish because a few bytes are short.
        return errno == ENOSPC || errno == EDQUOT;
    }
    ::close(fd);
    ::unlink(name.constData());
    return true;
}

QString ChooseWriteFolder(const QString& programFolder, bool programWritable,
                          const QString& userFolder) {
    const QString program = MakeDataPath(programFolder);
    // A missing folder is not a read-only one: keep it, so a broken set-up
    // reports its files instead of quietly writing elsewhere.
    if (programWritable || !QFileInfo(programFolder).isDir() || userFolder.isEmpty())
        return program;
    const QString user = MakeDataPath(userFolder);
    if (!QDir().mkpath(user)) return program;
    if (!QFileInfo::exists(DataFile(kTemplateName, user))) {
        const QString templ = DataFile(kTemplateName, program);
        const auto bytes = ReadFileBounded(templ, 1 << 20);
        if (bytes) WriteFileAtomic(user + kTemplateName, *bytes);
    }
    return user;
}

QString WriteFolderFor(const QString& programFolder) {
    static QString decidedFor;
    static QString folder;
    const QString program =
        MakeDataPath(programFolder.isEmpty() ? QStringLiteral(".") : programFolder);
    if (folder.isEmpty() || decidedFor != program) {
        decidedFor = program;
        folder =
            ChooseWriteFolder(program, FolderIsWritable(program),
                              QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    }
    return folder;
}

QString WriteFolder() {
    return WriteFolderFor(gDataPath);
}

QString WriteFolderFile(const QString& name) {
    return DataFile(name, WriteFolder());
}
