// velmora_assetgen: draws every picture and synthesises every sound the
// program reads, into one folder.
//
//   velmora_assetgen OUTDIR [--voice DIR] [--sheet FILE.png]
//
// --voice DIR   folder with the recorded countdown voice clips (min02.wav ...);
//               without it, or for a clip that is missing, the countdown
//               is bells only.
// --sheet FILE  also writes a sample board with stones of every size.
#include "pictures.h"
#include "sounds.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

namespace {

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "velmora_assetgen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// The resolution field would otherwise follow the platform's screen; fix it
// at 96 dpi so the files are the same wherever they are made.
QImage Fixed(QImage img) {
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    return img;
}

bool SaveBmp(const QImage& img, const QString& path) {
    // RGB32 is written as a 24-bit BMP.
    if (!Fixed(img.convertToFormat(QImage::Format_RGB32)).save(path, "BMP")) {
        std::fprintf(stderr, "velmora_assetgen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// "name.bmp" -> "name@2x.bmp": the same picture at twice the pixel density.
QString Twice(const QString& name) {
    return name.left(name.lastIndexOf('.')) + "@2x" + name.mid(name.lastIndexOf('.'));
}

QString TileName(int size, bool white, bool mask) {
    return QString("%1%2%3.bmp")
        .arg(white ? "Wh" : "Bl")
        .arg(size, 2, 10, QChar('0'))
        .arg(mask ? "Rev" : "Nrm");
}

} // namespace

int main(int argc, char** argv) {
    // Only images are painted (no text, no windows), so no display is needed.
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString outDir, voiceDir, sheet;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == "--voice" && i + 1 < args.size())
            voiceDir = args[++i];
        else if (args[i] == "--sheet" && i + 1 < args.size())
            sheet = args[++i];
        else if (outDir.isEmpty() && !args[i].startsWith("--"))
            outDir = args[i];
        else {
            std::fprintf(stderr, "usage: velmora_assetgen OUTDIR [--voice DIR] [--sheet FILE]\n");
            return 2;
        }
    }
    if (outDir.isEmpty()) {
        std::fprintf(stderr, "usage: velmora_assetgen OUTDIR [--voice DIR] [--sheet FILE]\n");
        return 2;
    }
    QDir out(outDir);
    if (!out.mkpath(".")) {
        std::fprintf(stderr, "velmora_assetgen: cannot create %s\n", qPrintable(outDir));
        return 1;
    }
    bool ok = true;
    ok &= SaveBmp(art::MakeBoard(), out.filePath("board.bmp"));
    ok &= SaveBmp(art::MakeBoard(389, 2), out.filePath(Twice("board.bmp")));
    for (int size : {29, 20, 11, 9}) {
        for (bool white : {false, true}) {
            art::StoneTile t = art::MakeStone(size, white);
            ok &= SaveBmp(t.image, out.filePath(TileName(size, white, false)));
            ok &= SaveBmp(t.mask, out.filePath(TileName(size, white, true)));
            art::StoneTile t2 = art::MakeStone(size, white, 2);
            ok &= SaveBmp(t2.image, out.filePath(Twice(TileName(size, white, false))));
            ok &= SaveBmp(t2.mask, out.filePath(Twice(TileName(size, white, true))));
        }
    }
    for (const QString& name : art::BackgroundNames())
        ok &= SaveBmp(art::MakeBackground(name), out.filePath(name));

    // Every button picture also at twice the density ("@2x").
    auto button = [&out](const QString& symbol, int state, const QString& name) {
        return SaveBmp(art::MakeButton(symbol, state), out.filePath(name)) &&
               SaveBmp(art::MakeButton(symbol, state, 2), out.filePath(Twice(name)));
    };
    ok &= button("quest", 0, "quest000.bmp");
    ok &= button("quest", 1, "quest001.bmp");
    for (const char* symbol : {"toroo", "1prev", "playi", "tobot", "1forw", "stopi"}) {
        ok &= button(symbol, 0, QString(symbol) + "000.bmp");
        ok &= button(symbol, 2, QString(symbol) + "002.bmp");
    }
    // The learn window spells two of them with capitals; lookups fall back to
    // any case, but the exact names are there too.
    for (const char* name : {"1Prev000.bmp", "1Prev002.bmp", "ToRoo000.bmp", "ToRoo002.bmp"}) {
        QString lower = QString(name).toLower();
        ok &= button(lower.left(5), lower.mid(5, 3) == "000" ? 0 : 2, name);
    }

    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QString path = out.filePath(QString("velmora-%1.png").arg(size));
        if (!Fixed(art::MakeIcon(size)).save(path, "PNG")) {
            std::fprintf(stderr, "velmora_assetgen: cannot write %s\n", qPrintable(path));
            ok = false;
        }
    }

    ok &= WriteBytes(out.filePath("stone.wav"), art::WavBytes(art::StoneClick()));
    for (const QString& name : art::CountdownNames()) {
        std::optional<art::Pcm> voice;
        if (!voiceDir.isEmpty()) {
            QFile f(QDir(voiceDir).filePath(name));
            if (f.open(QIODevice::ReadOnly) && f.size() < (8 << 20)) {
                voice = art::ParseWav(f.readAll());
                if (!voice) {
                    std::fprintf(stderr, "velmora_assetgen: %s is not a 16-bit PCM WAV file\n",
                                 qPrintable(f.fileName()));
                    ok = false;
                }
            }
        }
        ok &= WriteBytes(out.filePath(name),
                         art::WavBytes(art::Countdown(name, voice ? &*voice : nullptr)));
    }

    if (!sheet.isEmpty() && !art::MakeStoneSheet().save(sheet, "PNG")) {
        std::fprintf(stderr, "velmora_assetgen: cannot write %s\n", qPrintable(sheet));
        ok = false;
    }
    return ok ? 0 : 1;
}
