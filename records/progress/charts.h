// The two date charts of the 成績の推移 window are drawn by Qt Charts, which
// lives in a module of its own (libvelmora_charts.so beside the program) so
// that Qt Charts and the OpenGL libraries it brings load when the window
// first opens, never at start-up. The window hands the module plain figures.
#pragma once

#include <QColor>
#include <QDateTime>
#include <QList>
#include <QPointF>
#include <QString>

class QWidget;

inline const QString kChartsModuleName = QStringLiteral("velmora_charts");
inline constexpr const char* kChartsModuleEntry = "velmora_charts";
// Raised whenever DateChart or ChartsModule changes.
inline constexpr int kChartsVersion = 2;

struct ChartLine {
    QString name;
    QColor colour;
    bool dashed = false;
    QList<QPointF> points; // x: milliseconds since the epoch
};

// A chart with a date axis below and a value axis to the left.
struct DateChart {
    QString title;
    QString valueTitle; // the value axis
    double maxValue = 10;
    QDateTime from, to; // the date axis
    int dateTicks = 2;  // its labels, both ends included
    QList<ChartLine> lines;
};

struct ChartsModule {
    int version;
    // A chart view (antialiased) as a child of `parent`.
    QWidget* (*newView)(QWidget* parent);
    // Shows `chart` in a view made by newView, in place of what it showed.
    void (*show)(QWidget* view, const DateChart& chart);
};

// The module's one entry point, kChartsModuleEntry.
using ChartsEntry = const ChartsModule* (*)();
