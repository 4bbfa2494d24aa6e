// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/AnalysisSetupLogic.h"

#include "app/Texts.h"

#include <algorithm>
#include <limits>

namespace
{

using Row = AnalysisSetupLogic::Row;

constexpr Row kAllRows[] = {Row::SaturationsHigh, Row::SaturationsLow,     Row::PrHigh,
                            Row::PrLow,           Row::DesaturationsEvent, Row::PulseEvent};

int SignedNumber(const QString &text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? v : 0;
}

// The value of one row; S is AnalysisSettings, const or not.
template <typename S> auto &Slot(S &s, Row row)
{
    switch (row) {
    case Row::SaturationsHigh:
        return s.saturationsHigh;
    case Row::SaturationsLow:
        return s.saturationsLow;
    case Row::PrHigh:
        return s.prHigh;
    case Row::PrLow:
        return s.prLow;
    case Row::DesaturationsEvent:
        return s.desaturationsEvent;
    case Row::PulseEvent:
        break;
    }
    return s.pulseEvent;
}

} // namespace

AnalysisSetupLogic::Range AnalysisSetupLogic::range(Row row)
{
    switch (row) {
    case Row::SaturationsHigh:
    case Row::SaturationsLow:
        return {40, 100};
    case Row::PrHigh:
    case Row::PrLow:
        return {15, 300};
    case Row::DesaturationsEvent:
    case Row::PulseEvent:
        break;
    }
    return {1, 20};
}

QString AnalysisSetupLogic::rangeMessage(Row row)
{
    switch (row) {
    case Row::SaturationsHigh:
    case Row::SaturationsLow:
        return Text(TextNo::RangeSaturation);
    case Row::PrHigh:
    case Row::PrLow:
        return Text(TextNo::RangePulseRate);
    case Row::DesaturationsEvent:
    case Row::PulseEvent:
        break;
    }
    return Text(TextNo::RangeEventDrop);
}

AnalysisSetupLogic::AnalysisSetupLogic(const AnalysisSettings &stored) : stored_(stored), values_(stored) {}

int AnalysisSetupLogic::value(Row row) const
{
    return Slot(values_, row);
}

AnalysisSetupLogic::Texts AnalysisSetupLogic::texts() const
{
    Texts t;
    for (int i = 0; i < kRows; ++i)
        t[std::size_t(i)] = QString::number(value(kAllRows[i]));
    return t;
}

void AnalysisSetupLogic::restore(Row row)
{
    Slot(values_, row) = Slot(stored_, row);
}

void AnalysisSetupLogic::readAll(const Texts &texts)
{
    for (int i = 0; i < kRows; ++i) {
        bool ok = false;
        const uint v = texts[std::size_t(i)].trimmed().toUInt(&ok);
        // A text that is no whole number keeps the value it replaced.
        if (ok && v <= uint(std::numeric_limits<int>::max()))
            Slot(values_, kAllRows[i]) = int(v);
    }
}

AnalysisSetupLogic::Reaction AnalysisSetupLogic::textChanged(Row row, const QString &text)
{
    if (SignedNumber(text) != 0)
        return {};
    restore(row);
    return {rangeMessage(row), true};
}

AnalysisSetupLogic::Reaction AnalysisSetupLogic::focusLost(Row row, const Texts &texts)
{
    const int v = SignedNumber(texts[std::size_t(row)]);
    if (v <= 0)
        return {};
    const Range r = range(row);
    if (v < r.minimum || v > r.maximum) {
        restore(row);
        return {rangeMessage(row), true};
    }
    readAll(texts);
    return {};
}

void AnalysisSetupLogic::arrow(Row row, int delta, const Texts &texts)
{
    readAll(texts);
    int &v = Slot(values_, row);
    v += delta < 0 ? 1 : -1;
    const Range r = range(row);
    v = std::clamp(v, r.minimum, r.maximum);
}

QStringList AnalysisSetupLogic::accept(const Texts &texts)
{
    QStringList messages;
    // The edit being left is checked first; checking every row keeps a value
    // typed without leaving its edit (Enter pressed at once) out of the store too.
    Texts checked = texts;
    for (Row row : kAllRows) {
        const Reaction r = focusLost(row, checked);
        if (!r.message.isEmpty()) {
            messages << r.message;
            checked[std::size_t(row)] = QString::number(value(row));
        }
    }
    readAll(checked);
    if (values_.saturationsHigh <= values_.saturationsLow) {
        messages << Text(TextNo::Spo2PairError);
        restore(Row::SaturationsHigh);
        restore(Row::SaturationsLow);
    }
    if (values_.prHigh <= values_.prLow) {
        messages << Text(TextNo::PrPairError);
        restore(Row::PrHigh);
        restore(Row::PrLow);
    }
    return messages;
}
