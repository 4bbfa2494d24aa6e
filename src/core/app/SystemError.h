// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <system_error>

// The system's words for an errno value ("No space left on device"), safe to
// call from the transfer threads, unlike strerror.
inline QString SystemErrorText(int errorNumber)
{
    return QString::fromStdString(std::generic_category().message(errorNumber));
}
