// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/TextCut.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

// Patient details of one ID. Stored whole as 544 bytes (little-endian numbers,
// UTF-16 text zero-terminated within its width).
struct PatientRecord {
    static constexpr int kStoredSize = 544;
    static constexpr int kNameUnits = 30;
    static constexpr int kPhysicianUnits = 40;
    static constexpr int kNoteUnits = 50;
    static constexpr int kCommentsUnits = 90;

    std::int32_t idNumber = 0;
    std::array<char16_t, kNameUnits> name{};
    std::int32_t gender = 0; // 0 male, anything else female
    std::int32_t age = 0;
    float height = 0; // inches or centimetres, by unitSystem
    float weight = 0; // pounds or kilograms, by unitSystem
    std::array<char16_t, kPhysicianUnits> physician{};
    std::array<char16_t, kNoteUnits> note1{};
    std::array<char16_t, kNoteUnits> note2{};
    std::array<char16_t, kCommentsUnits> comments{};
    std::int32_t unitSystem = 0; // 0 British (in, lb), otherwise Metric (cm, kg)

    QByteArray toBytes() const;
    // False (and the record untouched) when data is not exactly 544 bytes.
    bool fromBytes(const QByteArray &data);

    // Text of a field up to its first zero; a field filled to its width has none.
    template <std::size_t N> static QString text(const std::array<char16_t, N> &field)
    {
        std::size_t n = 0;
        while (n < N && field[n] != 0)
            ++n;
        return QString::fromUtf16(field.data(), qsizetype(n));
    }

    // Clears the field, then copies as much of text as fits. A text that fills the
    // whole width is kept without a terminator, so neighbouring fields stay intact.
    template <std::size_t N> static void setText(std::array<char16_t, N> &field, const QString &value)
    {
        field.fill(0);
        const auto n = std::size_t(cutLength(value, qsizetype(N)));
        for (std::size_t i = 0; i < n; ++i)
            field[i] = value.at(qsizetype(i)).unicode();
    }

    QString nameText() const { return text(name); }
    QString physicianText() const { return text(physician); }
    QString note1Text() const { return text(note1); }
    QString note2Text() const { return text(note2); }
    QString commentsText() const { return text(comments); }

    friend bool operator==(const PatientRecord &, const PatientRecord &) = default;
};
