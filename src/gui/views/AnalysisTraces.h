#pragma once

#include "views/AnalysisGeometry.h"

#include "model/SampleRecord.h"

#include <QRect>

#include <optional>
#include <vector>

// The two traces of the graphic summary, each as one vertical run of pixels
// per column of the plot.
struct AnalysisTraces {
    std::vector<QRect> spo2;
    std::vector<QRect> pulse;
};

// Both traces of samples[0 .. count - 1] in the layout's plot, in one pass
// over the samples.
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
