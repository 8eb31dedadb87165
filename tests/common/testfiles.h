// Writing and reading whole files in tests.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QtTest>

namespace testfiles {

// Writes `data` to `path`, creating its folder; a short write fails the test.
inline void WriteFile(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(f.write(data), qint64(data.size()));
}

// The whole file, or `missing` when it cannot be opened.
inline QByteArray ReadFile(const QString& path, const QByteArray& missing = QByteArray()) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return missing;
    return f.readAll();
}

} // namespace testfiles
