// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/AnalysisSettings.h"

#include <QString>
#include <QStringList>

#include <array>

// The decisions of the "Analysis setup" dialog: which entries are refused
// while typed, when an edit is left and on OK, which message says so, and
// which values end up stored. A refused entry always gets the stored value back.
class AnalysisSetupLogic
{
public:
    enum class Row { SaturationsHigh, SaturationsLow, PrHigh, PrLow, DesaturationsEvent, PulseEvent };
    static constexpr int kRows = 6;
    using Texts = std::array<QString, kRows>;

    struct Range {
        int minimum;
        int maximum;
    };
    static Range range(Row row);
    // "Please input a num between 40 and 100 !" and its siblings.
    static QString rangeMessage(Row row);

    // stored: the values in the settings store (defaults where missing).
    explicit AnalysisSetupLogic(const AnalysisSettings &stored);

    const AnalysisSettings &values() const { return values_; }
    int value(Row row) const;
    // The six edit texts for the current values.
    Texts texts() const;

    // What an event asks of the dialog: a message to show (empty for none)
    // and whether all six edits are to be refilled from values().
    struct Reaction {
        QString message;
        bool refill = false;
    };
    // Empty text, text that is no number and 0 are refused at once.
    Reaction textChanged(Row row, const QString &text);
    // A number outside the row's range is refused when its edit is left;
    // otherwise every edit's number is taken.
    Reaction focusLost(Row row, const Texts &texts);
    // An arrow: delta < 0 is the upper arrow (+1). The value stays in range;
    // the edits are always refilled.
    void arrow(Row row, int delta, const Texts &texts);
    // OK: range checks of every row, then the two high/low pairs. Returns the
    // messages to show, in order; values() then holds what is to be stored.
    QStringList accept(const Texts &texts);

private:
    void restore(Row row);
    void readAll(const Texts &texts);

    AnalysisSettings stored_;
    AnalysisSettings values_;
};
