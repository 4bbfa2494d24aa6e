// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

class Prompts;

// The rule of the "Modify Title" dialog: a report title holds at most 60
// characters, the most a saved-data file carries.
class ReportTitleLogic
{
public:
    static constexpr int kMaxLength = 60;

    explicit ReportTitleLogic(Prompts &prompts) : prompts_(prompts) {}

    // A title over the limit: says so and returns its first 60 characters;
    // nullopt when the title may stay.
    std::optional<QString> check(const QString &title);

private:
    Prompts &prompts_;
};
