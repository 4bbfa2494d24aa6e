// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DownloadResult.h"

#include "interop/ReadingTime.h"
#include "model/RecordStore.h"

#include <algorithm>

int DownloadResult::readingCount(int id) const
{
    if (id >= 1 && id <= int(readings.size()) && !readings[std::size_t(id - 1)].empty())
        return int(readings[std::size_t(id - 1)].size());
    for (const IdSpan &s : spans) {
        if (s.id == id)
            return s.count;
    }
    return 0;
}

bool DownloadResult::hasReadings() const
{
    if (!spans.empty())
        return true;
    return std::any_of(readings.begin(), readings.end(), [](const auto &r) { return !r.empty(); });
}

void DownloadResult::summarise()
{
    spans.clear();
    for (int id = 1; id <= int(readings.size()); ++id) {
        const auto &r = readings[std::size_t(id - 1)];
        if (r.empty())
            continue;
        const auto [first, last] = std::minmax_element(
            r.begin(), r.end(), [](const auto &a, const auto &b) { return readingSeconds(a) < readingSeconds(b); });
        spans.push_back({id, int(r.size()), *first, *last});
    }
}

DeviceNotices NoticesOf(const DownloadResult &result)
{
    DeviceNotices out = NoticesOf(result.messages, result.permissionDenied);
    if (result.missingFrames() && result.status != DownloadStatus::Stopped) {
        DeviceNotice n;
        n.kind = DeviceNotice::Kind::PartialDownload;
        n.count = result.framesReceived;
        n.of = result.framesAnnounced;
        out.push_back(n);
    }
    if (!result.archived.damagedKeptAs.isEmpty()) {
        DeviceNotice n;
        n.kind = DeviceNotice::Kind::ArchiveDamaged;
        n.detail = result.archived.damagedKeptAs;
        out.push_back(n);
    }
    if (result.archived.ran && !result.archived.ok) {
        DeviceNotice n;
        n.kind = DeviceNotice::Kind::ArchiveFailed;
        n.detail = result.archived.failure.detail;
        out.push_back(n);
    }
    return out;
}

bool ApplyDownload(RecordStore &store, DownloadResult &result)
{
    if (result.deviceModel != 0)
        store.deviceModel = result.deviceModel;
    if (!result.keepsReadings() || !result.hasReadings())
        return false;
    if (result.spans.empty())
        result.summarise();
    store.deviceSamples = std::move(result.readings);
    result.readings = {};
    return true;
}
