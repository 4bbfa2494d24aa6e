// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// The checks of the hour, minute and second edits of "Set Date And Time".
namespace ClockInput
{
enum class Field { Hour, Minute, Second };

// 24 for the hour, 60 for minute and second: the first value refused.
int limit(Field field);

// After every change: the message to show (the edit then becomes "0"), or
// nullopt when the text may stay. An empty edit may stay until it loses focus.
std::optional<QString> checkChange(Field field, const QString &text);
// When the edit loses the focus: an empty edit is refused.
std::optional<QString> checkLeave(const QString &text);

QString NotANumber();   // "Please input a Num !"
QString IllegalValue(); // "Please input a legal value !"
} // namespace ClockInput
