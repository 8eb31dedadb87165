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

void LoadApplicationIcon(const QString& programFolder) {
    if (programFolder.isEmpty()) return;
    QIcon icon;
    const QDir dir(programFolder);
    // Plain name tests: a wildcard filter would start the regular expression
    // engine for every file of the folder.
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    for (const QString& f : files)
        if (f.startsWith(QLatin1String("velmora")) && f.endsWith(QLatin1String(".png")))
            icon.addFile(dir.filePath(f));
    if (!icon.isNull()) QApplication::setWindowIcon(icon);
}
