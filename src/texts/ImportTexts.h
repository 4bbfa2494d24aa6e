// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "import/ImportedNight.h"

#include <QString>

// The words of what the import of other oximeters' files reports, translated
// through Qt (context "Import").
namespace ImportTexts
{
// One problem: "line 17: time '25:61:00' is not a time".
QString text(const ImportProblem &problem);
// A failed choice of columns or time pattern (given: the text the user gave).
template <typename T> QString text(const ImportResult<T> &failed, const QString &given)
{
    return text(ImportProblem(failed.error(), 0, failed.error() == ImportError::BadColumns ? failed.detail() : given,
                              failed.detail()));
}
// Why nothing of the night was read, with the first refusal when every row was refused.
QString error(const ImportedNight &night);
// "1,203 rows read, 4 refused: line 17: time '25:61:00' is not a time"
QString summary(const ImportedNight &night);
// Something the user should know of the readings taken; empty when nothing.
QString note(const ImportedNight &night);
} // namespace ImportTexts
