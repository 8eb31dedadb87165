#include "files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringConverter>

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

bool WriteFileAtomic(const QString& path, const QByteArray& data, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = QStringLiteral("ファイルに書き込めません: %1").arg(path);
        return false;
    }
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        if (error) *error = QStringLiteral("ファイルに書き込めません: %1").arg(path);
        return false;
    }
    if (!file.commit()) {
        if (error) *error = QStringLiteral("ファイルに書き込めません: %1").arg(path);
        return false;
    }
    return true;
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
