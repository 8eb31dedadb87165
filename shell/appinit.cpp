#include "shell/appinit.h"

#include "shell/accessibility.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QFont EnlargedFont(const QFont& font, int extraPixels) {
    QFont f = font;
    if (f.pixelSize() > 0)
        f.setPixelSize(f.pixelSize() + extraPixels);
    else if (f.pointSizeF() > 0)
        f.setPointSizeF(f.pointSizeF() + extraPixels * 0.75);
    else
        f.setPixelSize(kUiFontPixelSize + extraPixels);
    return f;
}

bool InitApplication(QApplication& app, const QString& /*programFolder*/) {
    QFont font(QString::fromLatin1(kUiFontFamily));
    font.setPixelSize(kUiFontPixelSize);
    font.setStyleHint(QFont::SansSerif);
    // Outlines as designed, without the auto-hinter: it analyses the whole
    // Japanese font before the first glyph and loads every glyph again for
    // its advance, a tenth of the instructions and 1.5 MiB of the memory
    // before the menu is on screen. At the UI size the text looks the same
    // but for softer horizontal strokes.
    font.setHintingPreference(QFont::PreferNoHinting);
    QApplication::setFont(font);

    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    InstallAccessibility();

    bool translated = false;
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
        translated = true;
    } else {
        delete translator;
    }

    return translated;
}

int IconFileSize(const QString& fileName) {
    static const QLatin1String prefix("velmora-");
    static const QLatin1String suffix(".png");
    if (!fileName.startsWith(prefix) || !fileName.endsWith(suffix)) return 0;
    bool ok = false;
    const int size = QStringView(fileName)
                         .mid(prefix.size(), fileName.size() - prefix.size() - suffix.size())
                         .toInt(&ok);
    return ok && size > 0 ? size : 0;
}

void LoadApplicationIcon(const QString& programFolder) {
    if (programFolder.isEmpty()) return;
    QIcon icon;
    const QDir dir(programFolder);
    // Plain name tests: a wildcard filter would start the regular expression
    // engine for every file of the folder.
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    for (const QString& f : files) {
        const int size = IconFileSize(f);
        if (size > 0 && size <= kMaxWindowIconSize)
            icon.addFile(dir.filePath(f), QSize(size, size));
    }
    if (!icon.isNull()) QApplication::setWindowIcon(icon);
}
