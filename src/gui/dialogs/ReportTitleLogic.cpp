// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/ReportTitleLogic.h"

#include "app/Prompts.h"
#include "app/Texts.h"
#include "model/TextCut.h"

std::optional<QString> ReportTitleLogic::check(const QString &title)
{
    if (title.size() <= kMaxLength)
        return std::nullopt;
    prompts_.warning(Text(TextNo::FieldMax60));
    return cutText(title, kMaxLength);
}
