// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/AnalysisFigures.h"

#include "analysis/RunAnalysis.h"
#include "app/Settings.h"
#include "model/RecordStore.h"

AnalysisFigures analyseCurrentRecording(const RecordStore &store)
{
    AnalysisFigures f;
    RunAnalysis(store.currentSamples.data(), store.currentSampleCount(), Settings().analysis(), f.results,
                f.statistics);
    f.clinical = computeClinicalSummary(store.currentSamples.data(), store.currentSampleCount(), store.currentMarks);
    return f;
}
