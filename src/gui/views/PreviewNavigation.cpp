// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/PreviewNavigation.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace
{
// Fixed zoom steps; the biggest keeps the one cached sheet under 15 MB.
constexpr std::array<int, 7> kSteps = {25, 50, 75, 100, 125, 150, 200};
constexpr int kSheetGap = 16; // pixels kept free around a fitted sheet
} // namespace

PreviewNavigation::PreviewNavigation(int pageCount, int page) : pageCount_(std::max(pageCount, 1))
{
    goTo(page);
}

void PreviewNavigation::goTo(int page)
{
    page_ = std::clamp(page, 0, pageCount_ - 1);
}

QSizeF PreviewNavigation::paperSize96()
{
    return {297.0 / 25.4 * 96.0, 210.0 / 25.4 * 96.0};
}

int PreviewNavigation::fitPercent(QSize viewport) const
{
    const QSizeF paper = paperSize96();
    const double w = std::max(viewport.width() - 2 * kSheetGap, 1) / paper.width();
    const double h = std::max(viewport.height() - 2 * kSheetGap, 1) / paper.height();
    return std::clamp(int(std::floor(100.0 * std::min(w, h))), kMinPercent, kMaxPercent);
}

int PreviewNavigation::zoomPercent(QSize viewport) const
{
    return fit_ ? fitPercent(viewport) : percent_;
}

bool PreviewNavigation::canZoomIn(QSize viewport) const
{
    return zoomPercent(viewport) < kSteps.back();
}

bool PreviewNavigation::canZoomOut(QSize viewport) const
{
    return zoomPercent(viewport) > kSteps.front();
}

void PreviewNavigation::zoomIn(QSize viewport)
{
    const int now = zoomPercent(viewport);
    const auto *const it = std::upper_bound(kSteps.begin(), kSteps.end(), now);
    if (it == kSteps.end())
        return;
    fit_ = false;
    percent_ = *it;
}

void PreviewNavigation::zoomOut(QSize viewport)
{
    const int now = zoomPercent(viewport);
    const auto *const it = std::lower_bound(kSteps.begin(), kSteps.end(), now);
    if (it == kSteps.begin())
        return;
    fit_ = false;
    percent_ = *std::prev(it);
}

QSize PreviewNavigation::sheetSize(QSize viewport) const
{
    const QSizeF paper = paperSize96() * (zoomPercent(viewport) / 100.0);
    return {std::max(int(std::lround(paper.width())), 1), std::max(int(std::lround(paper.height())), 1)};
}
