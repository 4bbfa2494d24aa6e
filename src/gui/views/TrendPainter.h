// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/ReportHeader.h"
#include "views/TrendGeometry.h"
#include "views/ViewFonts.h"

#include "clinical/SignalQuality.h"
#include "model/SampleRecord.h"

#include <QColor>
#include <QSize>
#include <QString>

#include <vector>

class QPainter;

// Everything one trend page shows besides its geometry.
struct TrendPicture {
    const SampleRecord *samples = nullptr;
    int sampleCount = 0;
    int viewPosition = 0;
    ReportHeaderContent header;
    QString cursorDate;
    QString cursorTime;
    QString cursorSpo2;
    QString cursorPulse;
    TrendMarker spo2Marker;
    TrendMarker pulseMarker;
    // On screen only: readings the clinical figures leave out as artefacts
    // (indices into samples), shaded with a legend. Printing leaves it empty.
    std::vector<ReadingSpan> artefacts;
    // On screen only: the spans marked as artefact by hand, shaded more strongly.
    std::vector<ReadingSpan> marked;
};

// The shade over artefact readings, drawn over the panel's fill.
inline const QColor kArtefactShade(0, 0, 0, 40);
inline const QColor kMarkedShade(0, 0, 0, 100);

// Paints the whole page for a client of the given size, layer by layer:
// background, header, the two panels (scales, grids, time axes, curves), markers.
void PaintTrendPage(QPainter &p, QSize size, const TrendPicture &picture, const TrendFonts &fonts);
