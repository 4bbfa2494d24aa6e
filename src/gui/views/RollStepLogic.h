// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// The decisions of the "Set Step" dialog: the edit never holds less than 1,
// the arrows stay between 1 and the page count, and a value above the page
// count is refused when the dialog is accepted.
class RollStepLogic
{
public:
    RollStepLogic(int stepValue, int stepLimit) : stepValue_(stepValue), stepLimit_(stepLimit) {}

    int stepValue() const { return stepValue_; }
    int stepLimit() const { return stepLimit_; }

    // The text to put back into the edit, or nothing when it may stay.
    std::optional<QString> editChanged(const QString &text);
    std::optional<QString> editLostFocus(const QString &text);
    // An arrow click: delta < 0 is the upper arrow. Returns the new edit text.
    QString arrowClicked(const QString &text, int delta);
    // OK: the edit's number becomes the dialog's value.
    void accept(const QString &text);

    // The refusal for a value above the page count, if any.
    static std::optional<QString> Refusal(int stepValue, int pageCount);

private:
    int stepValue_;
    int stepLimit_;
};
