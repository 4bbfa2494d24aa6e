// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Page moves shared by the trend and table views: rollStep pages at a time,
// never before the first page nor past the last.
int PageUpPosition(int viewPosition, int rollStep);
// A pageCount of 0 counts as one (empty) page.
int PageDownPosition(int viewPosition, int rollStep, int pageCount);
