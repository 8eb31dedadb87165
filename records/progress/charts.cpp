// The charts module (libvelmora_charts.so): the date charts of the 成績の推移
// window through Qt Charts, loaded when the window first opens.
#include "charts.h"

#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QLegend>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>

namespace {

QWidget* NewView(QWidget* parent) {
    auto* view = new QChartView(parent);
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}

void Show(QWidget* widget, const DateChart& c) {
    auto* view = qobject_cast<QChartView*>(widget);
    if (!view) return;
    auto* chart = new QChart;
    chart->setTitle(c.title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto* x = new QDateTimeAxis;
    x->setFormat(QStringLiteral("M/d"));
    x->setTitleText(QStringLiteral("日付"));
    auto* y = new QValueAxis;
    y->setLabelFormat(QStringLiteral("%d"));
    y->setTitleText(c.valueTitle);
    y->setRange(0, c.maxValue);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (const ChartLine& line : c.lines) {
        auto* s = new QLineSeries;
        s->setName(line.name);
        s->append(line.points);
        s->setPointsVisible(true);
        s->setColor(line.colour);
        if (line.dashed) {
            QPen pen = s->pen();
            pen.setStyle(Qt::DashLine);
            s->setPen(pen);
        }
        chart->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(y);
    }
    x->setRange(c.from, c.to);
    x->setTickCount(std::max(2, c.dateTicks));
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
}

const ChartsModule kModule{kChartsVersion, NewView, Show};

} // namespace

extern "C" __attribute__((visibility("default"))) const ChartsModule* velmora_charts() {
    return &kModule;
}
