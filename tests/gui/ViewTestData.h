// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Recordings made to order for the view tests.
#include "model/RecordStore.h"

#include <QDateTime>

#include <functional>

namespace viewtest
{

// count readings one second apart from 2013/05/07 22:00:00; values from the functions.
inline void FillRecording(RecordStore &store, int count, const std::function<int(int)> &spo2,
                          const std::function<int(int)> &pulse)
{
    const QDateTime start(QDate(2013, 5, 7), QTime(22, 0, 0));
    store.currentSamples.clear();
    store.currentSamples.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        const QDateTime t = start.addSecs(i);
        SampleRecord s;
        s.id = 1;
        s.year = std::uint8_t(t.date().year() - 2000);
        s.month = std::uint8_t(t.date().month());
        s.day = std::uint8_t(t.date().day());
        s.hour = std::uint8_t(t.time().hour());
        s.minute = std::uint8_t(t.time().minute());
        s.second = std::uint8_t(t.time().second());
        s.spo2 = std::uint8_t(spo2(i));
        s.pulseRate = std::uint8_t(pulse(i));
        store.currentSamples.push_back(s);
    }
}

inline QString TimeOf(const RecordStore &store, int i)
{
    const SampleRecord &s = store.currentSamples[std::size_t(i)];
    return QString::asprintf("%02d:%02d:%02d", s.hour, s.minute, s.second);
}

} // namespace viewtest
