// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/AnalysisResults.h"
#include "analysis/RecordingStatistics.h"
#include "clinical/ClinicalSummary.h"

class RecordStore;

// Everything the analysis page shows of a recording, for pages painted without
// the main window (reports, manual pictures); it must outlive the view that
// refers to it.
struct AnalysisFigures {
    AnalysisResults results;
    RecordingStatistics statistics;
    ClinicalSummary clinical;
};

// The figures of the store's current recording with the stored analysis settings.
AnalysisFigures analyseCurrentRecording(const RecordStore &store);
