// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/SampleRecord.h"

#include <QByteArray>

#include <optional>
#include <vector>

// The archive's form of a night's readings: every field of every reading kept
// exactly (the spare byte excepted, which is never saved), about a tenth of the
// .dat form for a typical night.
//
// Format 1, before compression (numbers are unsigned LEB128 varints):
//   u8      format (1)
//   varint  N, the number of readings
//   varint  R, the number of runs
//   R runs  u8 id, u8 year, month, day, hour, minute, second of the run's
//           first reading, then varint length. Within a run every reading has
//           the run's ID and is one second after the one before it (calendar
//           carried, see nextSecond()); anything else starts a new run.
//   N bytes spo2, each the difference to the previous reading's (mod 256,
//           the first to 0)
//   N bytes pulse rate, coded the same way
//   N bytes auxValue low bytes
//   u8      form of the high bytes: 0 all zero (nothing follows), 1 all 0 or
//           1 (the device's 9-bit value: one bit a reading, the first in the
//           lowest bit, (N + 7) / 8 bytes), 2 any (N bytes)
// auxValue is not delta-coded: it often behaves like noise, where a delta
// needs one bit more than the value itself.
// The whole is compressed in qCompress's form: a 4-byte big-endian length, then
// a zlib stream (written and read with libdeflate, which is faster than zlib at
// the same form). Columns of small deltas compress far better than the readings
// side by side.
namespace ReadingCodec
{

inline constexpr int kFormat = 1;
// Far above any recording a device holds; bounds what a damaged blob can ask for.
inline constexpr int kMaxReadings = 4 * 1024 * 1024;

QByteArray encode(const SampleRecord *samples, int count);
inline QByteArray encode(const std::vector<SampleRecord> &samples)
{
    return encode(samples.data(), int(samples.size()));
}

// nullopt when blob is not a well-formed format-1 blob.
std::optional<std::vector<SampleRecord>> decode(const QByteArray &blob);

// The time stamp one second after s, with minute, hour, day, month and year
// carried (leap years counted). Fields outside their range give some other
// stamp; only encoder and decoder agreeing on it matters.
SampleRecord nextSecond(SampleRecord s);

// The readings in their 11-byte .dat form, one after the other.
QByteArray datForm(const SampleRecord *samples, int count);
// SHA-256 of datForm(): a night's identity in the archive.
QByteArray readingsHash(const SampleRecord *samples, int count);

} // namespace ReadingCodec
