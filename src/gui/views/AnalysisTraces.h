// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/AnalysisGeometry.h"

#include "model/SampleRecord.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>

#include <optional>
#include <vector>

// The colours of the two traces and of their event marks.
constexpr QRgb kSpo2TraceRgb = qRgb(0, 255, 0);
constexpr QRgb kPulseTraceRgb = qRgb(0, 0, 250);

// Runs of one colour painted once into an image that is transparent around
// them, placed with its top-left corner at origin. A raster page at 1:1 draws
// it several times faster than it fills thousands of runs one pixel wide, and
// to the same pixels, as every pixel of it is either opaque or clear. Null
// for runs spread too wide and high to be worth the memory.
struct TracePicture {
    QImage image;
    QPoint origin;
};
TracePicture PaintedRuns(const std::vector<QRect> &runs, QRgb colour);

// The two traces of the graphic summary, each as one vertical run of pixels
// per column of the plot; kept traces also come as pictures.
struct AnalysisTraces {
    std::vector<QRect> spo2;
    std::vector<QRect> pulse;
    TracePicture spo2Picture;
    TracePicture pulsePicture;
};

// Both traces of samples[0 .. count - 1] in the layout's plot, in one pass
// over the samples; without pictures, which only pay off when kept.
AnalysisTraces ComputeAnalysisTraces(const AnalysisLayout &l, const SampleRecord *samples, int count);

// Keeps the traces of the last recording and plot it was asked for, so that a
// repaint of an unchanged page does not read every sample again. The owner
// clears it whenever the readings may have changed in place.
class AnalysisTraceCache
{
public:
    const AnalysisTraces &traces(const AnalysisLayout &l, const SampleRecord *samples, int count);
    void clear() { key_.reset(); }

private:
    // Everything the traces depend on besides the readings themselves.
    struct Key {
        const SampleRecord *samples = nullptr;
        int count = 0;
        int plotLeft = 0;
        int right = 0;
        int plotWidth = 0;
        int step = 0;
        int spo2Top = 0;
        int pulseTop = 0;
        int chartHeight = 0;

        friend bool operator==(const Key &, const Key &) = default;
    };

    std::optional<Key> key_;
    AnalysisTraces traces_;
};
