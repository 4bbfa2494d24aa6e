#include "views/AnalysisFigures.h"

#include "analysis/AnalysisSettings.h"
#include "analysis/RunAnalysis.h"
#include "model/RecordStore.h"

AnalysisFigures analyseCurrentRecording(const RecordStore &store)
{
    AnalysisFigures f;
    RunAnalysis(store.currentSamples.data(), store.currentSampleCount(), AnalysisSettings::stored(), f.results,
                f.statistics);
    f.clinical = computeClinicalSummary(store.currentSamples.data(), store.currentSampleCount());
    return f;
}
