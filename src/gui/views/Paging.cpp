// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/Paging.h"

#include <algorithm>

int PageUpPosition(int viewPosition, int rollStep)
{
    return std::max(viewPosition - rollStep, 0);
}

int PageDownPosition(int viewPosition, int rollStep, int pageCount)
{
    if (pageCount <= 0)
        pageCount = 1;
    const int next = viewPosition + rollStep < pageCount ? viewPosition + rollStep : pageCount - 1;
    return std::max(next, 0);
}
