// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QRect>
#include <QStringList>

class QPainter;
class TextLayoutCache;
struct ClinicalSummary;

// Colour of the SpO2 distribution bars.
inline const QColor kClinicalBarColour(70, 110, 200);

// The lines of text the summary shows, in order ("No valid readings" alone
// when there are none).
QStringList clinicalSummaryLines(const ClinicalSummary &summary);

// The clinical figures in the box under "Diagnose:" of the analysis page: the
// figures on the left, the SpO2 distribution on the right when the box is wide
// enough. Nothing is drawn outside box; fonts shrink to fit its height. With
// a cache, the texts' layouts are kept for the next paint.
void paintClinicalSummary(QPainter &p, QRect box, const ClinicalSummary &summary, TextLayoutCache *texts = nullptr);
