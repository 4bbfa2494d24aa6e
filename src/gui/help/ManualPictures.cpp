// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/ManualPictures.h"

#include "model/PatientRecord.h"
#include "model/RecordStore.h"
#include "views/AnalysisFigures.h"
#include "views/AnalysisView.h"
#include "views/TableView.h"
#include "views/TrendView.h"

#include "SimulatedNight.h"

#include <QPainter>

#include <memory>

namespace ManualPictures
{

namespace
{

enum class Page { Trend, Table, Analysis };

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
};

// Large enough to read every label, small enough for a manual page.
constexpr QSize kSize(1280, 900);

} // namespace

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
