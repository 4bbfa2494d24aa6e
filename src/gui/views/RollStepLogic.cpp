// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/RollStepLogic.h"

#include "app/Texts.h"

#include <climits>

namespace
{

// The edit holds digits only; a number too long for an int counts as the largest.
int EditNumber(const QString &text, bool *ok = nullptr)
{
    bool parsed = false;
    const qlonglong v = text.trimmed().toLongLong(&parsed);
    if (ok)
        *ok = parsed;
    if (!parsed)
        return 0;
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return int(v);
}

} // namespace

std::optional<QString> RollStepLogic::editChanged(const QString &text)
{
    bool ok = false;
    const int v = EditNumber(text, &ok);
    if (ok && v > 0)
        return std::nullopt;
    stepValue_ = 1;
    return QStringLiteral("1");
}

std::optional<QString> RollStepLogic::editLostFocus(const QString &text)
{
    stepValue_ = EditNumber(text);
    if (text.trimmed().isEmpty() || stepValue_ == 0) {
        stepValue_ = 1;
        return QString::number(stepValue_);
    }
    return std::nullopt;
}

QString RollStepLogic::arrowClicked(const QString &text, int delta)
{
    long long v = EditNumber(text);
    v += delta < 0 ? 1 : -1;
    if (static_cast<unsigned>(v) >= static_cast<unsigned>(stepLimit_))
        v = stepLimit_;
    if (v == 0)
        v = 1;
    stepValue_ = int(v);
    return QString::number(stepValue_);
}

void RollStepLogic::accept(const QString &text)
{
    stepValue_ = EditNumber(text);
}

std::optional<QString> RollStepLogic::Refusal(int stepValue, int pageCount)
{
    if (static_cast<unsigned>(stepValue) <= static_cast<unsigned>(pageCount))
        return std::nullopt;
    return Text(TextNo::InputNumberBetween) + QString::asprintf(" %d", pageCount);
}
