// Reading the program's pictures. Uncompressed 24- and 32-bit BMP files (all
// of ours) are decoded here in one pass over the file, many times faster than
// the general image reader; any other file goes through QImage.
#pragma once

#include <QImage>
#include <QString>

// The picture in `path` as Format_RGB32, or a null image when the file is
// missing, cut short or not a picture. With a valid `limit`, only the part
// within that size from the top-left corner is read (a window's background
// beyond its fixed size is never seen).
QImage ReadBitmap(const QString& path, QSize limit = {});

// The decoder itself, on the bytes of a BMP file: a null image when they are
// not an uncompressed 24- or 32-bit BMP or are cut short.
QImage DecodeBitmap(const QByteArray& bytes, QSize limit = {});

// The pixel size of the picture in `path` (read from its header), or an
// invalid size.
QSize BitmapSize(const QString& path);

// "name.ext" -> "name@2x.ext": the file name of the picture drawn at twice
// the pixel density.
QString DoubleDensityName(const QString& name);

// The picture `name` from the data folder for a screen of device pixel
// ratio `dpr`: above 1, its double-density file when there is one (with
// device pixel ratio 2, so it covers the same logical size); else the plain
// file. Both names go through the case-insensitive data-folder lookup.
QImage ReadDataPicture(const QString& name, qreal dpr = 1.0);
