#include "library/modules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <map>

namespace {

QString gFolder;

struct Loaded {
    bool ok = false;
    QString error;
    std::map<QByteArray, QFunctionPointer> entries;
};

// By file path; modules are never unloaded.
std::map<QString, Loaded>& LoadedModules() {
    static std::map<QString, Loaded> modules;
    return modules;
}

} // namespace

QString ModuleFolder() {
    return gFolder.isEmpty() ? QCoreApplication::applicationDirPath() : gFolder;
}

void SetModuleFolder(const QString& folder) {
    gFolder = folder;
}

QString ModuleFilePath(const QString& name) {
    return QDir(ModuleFolder()).filePath(QStringLiteral("lib") + name + QStringLiteral(".so"));
}

QFunctionPointer ModuleEntry(const QString& name, const char* entry, QString* error) {
    const QString path = ModuleFilePath(name);
    const QString file = QFileInfo(path).fileName();
    auto [it, fresh] = LoadedModules().try_emplace(path);
    Loaded& m = it->second;
    if (fresh) {
        QLibrary library(path);
        if (!QFileInfo::exists(path)) {
            m.error = QStringLiteral("%1 がプログラムのフォルダ %2 にありません")
                          .arg(file, QDir::toNativeSeparators(ModuleFolder()));
        } else if (!library.load()) {
            m.error = QStringLiteral("%1 を読み込めません（%2）").arg(file, library.errorString());
        } else {
            m.ok = true; // stays loaded for the rest of the run
        }
    }
    QFunctionPointer f = nullptr;
    if (m.ok) {
        const QByteArray key(entry);
        auto e = m.entries.find(key);
        if (e == m.entries.end()) e = m.entries.emplace(key, QLibrary(path).resolve(entry)).first;
        f = e->second;
        if (!f && error) *error = QStringLiteral("%1 に %2 がありません").arg(file, key);
    } else if (error) {
        *error = m.error;
    }
    return f;
}
