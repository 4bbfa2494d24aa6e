// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/ManualPictures.h"

#include "archive/Overview.h"
#include "model/PatientRecord.h"
#include "model/RecordStore.h"
#include "views/AnalysisFigures.h"
#include "views/AnalysisView.h"
#include "views/OverviewPainter.h"
#include "views/TableView.h"
#include "views/TrendView.h"

#include "SimulatedNight.h"

#include <QDateTime>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

namespace ManualPictures
{

namespace
{

enum class Page { Trend, Table, Analysis, Overview };

struct Picture {
    const char *name;
    Page page;
    int viewPosition;
};

// A new picture is one row here and an <img src="images/NAME"> in each manual.
constexpr Picture kPictures[] = {
    {"trend.png", Page::Trend, 4},
    {"table.png", Page::Table, 0},
    {"analysis.png", Page::Analysis, 0},
    {"overview.png", Page::Overview, 0},
};

// Large enough to read every label, small enough for a manual page.
constexpr QSize kSize(1280, 900);

// The same numbers wherever the manual is built: no library's random engine.
class Draws
{
public:
    // 0 <= x < 1
    double next()
    {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return double(state_ >> 11) / double(1ULL << 53);
    }
    double between(double low, double high) { return low + (high - low) * next(); }

private:
    std::uint64_t state_ = 20260314;
};

QString stamp(const QDateTime &t)
{
    return t.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QImage paintOverviewPicture()
{
    QImage image(kSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const OverviewData data = buildOverview(sampleYear(), {}, {}, QStringLiteral("Jane Example (ID 3)"));
    paintOverview(painter, QSizeF(kSize), data, {});
    return image;
}

} // namespace

NightList sampleYear()
{
    Draws draw;
    NightList nights;
    const QDate last(2026, 3, 14);
    const QDate first = last.addDays(-364);
    const QDate treatment = first.addMonths(3);
    qint64 number = 1;
    for (QDate day = first; day <= last; day = day.addDays(1)) {
        if (draw.next() < 0.12)
            continue; // no recording that night
        const int count = draw.next() < 0.02 ? 2 : 1;
        QDateTime start(day, QTime(21, 30).addSecs(int(draw.between(0, 3 * 3600))));
        for (int k = 0; k < count; ++k) {
            const bool shortNight = draw.next() < 0.05;
            const int seconds = shortNight ? int(draw.between(1.5, 3.8) * 3600) : int(draw.between(6.5, 8.8) * 3600);
            // The ODI falls over the first weeks of treatment and stays low.
            const double weeks = std::max<qint64>(0, treatment.daysTo(day)) / 7.0;
            const double odi4 = std::max(1.0, 24.0 * std::exp(-weeks / 3.0) + 3.0 + draw.between(-2.0, 4.0));
            NightInfo n;
            n.night = number++;
            n.deviceId = 3;
            n.patientName = QStringLiteral("Jane Example");
            n.source = NightSource::Download;
            NightSummary &s = n.summary;
            s.start = stamp(start);
            s.end = stamp(start.addSecs(seconds));
            s.readings = seconds + 1;
            s.coverage = draw.between(88.0, 99.5);
            s.validSeconds = int(seconds * s.coverage / 100.0);
            s.shortRecording = s.validSeconds < 4 * 3600;
            s.odi4 = odi4;
            s.odi3 = odi4 * draw.between(1.3, 1.6);
            s.t90Percent = std::max(0.0, odi4 * draw.between(0.2, 0.5) + draw.between(-1.0, 1.0));
            s.t88Percent = s.t90Percent * 0.4;
            s.nadir = int(std::lround(std::clamp(92.0 - odi4 * 0.6 + draw.between(-3.0, 2.0), 70.0, 92.0)));
            s.meanSpo2 = std::clamp(95.5 - odi4 * 0.08 + draw.between(-0.8, 0.8), 88.0, 98.0);
            s.pulseMean = draw.between(58.0, 66.0);
            s.pulseMin = int(s.pulseMean - draw.between(6.0, 12.0));
            s.pulseMax = int(s.pulseMean + draw.between(15.0, 35.0));
            s.hypoxicBurden = odi4 * draw.between(1.5, 3.0);
            nights.append(n);
            start = start.addSecs(seconds + int(draw.between(1800, 5400)));
        }
    }
    return nights;
}

void fillSampleNight(RecordStore &store)
{
    store.currentSamples = GenerateNight(7, 3, 8 * 3600);
    store.reportTitle = QStringLiteral("Sleep Clinic North - Overnight Oximetry");
    PatientRecord &p = store.currentPatient;
    p.idNumber = 3;
    PatientRecord::setText(p.name, QStringLiteral("Jane Example"));
    p.gender = 1;
    p.age = 54;
    p.height = 165;
    p.weight = 72;
    p.unitSystem = 1;
    PatientRecord::setText(p.physician, QStringLiteral("Dr. A. Sample"));
    PatientRecord::setText(p.note1, QStringLiteral("Snoring reported by partner"));
    PatientRecord::setText(p.note2, QStringLiteral("No oxygen"));
    PatientRecord::setText(p.comments, QStringLiteral("Home recording, first night"));
}

QStringList names()
{
    QStringList list;
    for (const Picture &p : kPictures)
        list << QLatin1String(p.name);
    return list;
}

QImage render(const QString &name)
{
    for (const Picture &picture : kPictures) {
        if (name != QLatin1String(picture.name))
            continue;
        if (picture.page == Page::Overview)
            return paintOverviewPicture();
        RecordStore store;
        fillSampleNight(store);
        AnalysisFigures figures;
        std::unique_ptr<DataView> view;
        switch (picture.page) {
        case Page::Trend:
            view = std::make_unique<TrendView>(store);
            break;
        case Page::Table:
            view = std::make_unique<TableView>(store);
            break;
        case Page::Analysis:
            // The stored settings, as the reader's own analysis page uses them.
            figures = analyseCurrentRecording(store);
            view = std::make_unique<AnalysisView>(store, figures.results, figures.statistics, &figures.clinical);
            break;
        case Page::Overview:
            break;
        }
        view->resize(kSize);
        view->showPage(picture.viewPosition);
        QImage image(kSize, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        view->renderPage(painter, kSize, view->position());
        return image;
    }
    return {};
}

} // namespace ManualPictures
