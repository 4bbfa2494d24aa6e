// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Result.h"

// Why a choice given for an import, or the readings of a file, cannot be
// used; the detail says which part, in the words the command line shows.
enum class ImportError {
    BadColumns,    // a column mapping that names no usable column
    BadTimeFormat, // a time pattern that is not one
    TooLong,       // more readings than one night may hold
};

template <typename T> using ImportResult = Result<T, ImportError>;
