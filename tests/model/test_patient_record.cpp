// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/PatientRecord.h"
#include "model/PatientStore.h"
#include "test_env.h"

#include <QSettings>
#include <QtEndian>

#include <cstring>

#include <gtest/gtest.h>

namespace
{

float floatAt(const QByteArray &b, int offset)
{
    const auto bits = qFromLittleEndian<quint32>(b.constData() + offset);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

QString textAt(const QByteArray &b, int offset, int units)
{
    QString s;
    for (int i = 0; i < units; ++i) {
        const auto c = qFromLittleEndian<quint16>(b.constData() + offset + 2 * i);
        if (c == 0)
            break;
        s.append(QChar(c));
    }
    return s;
}

PatientRecord sample()
{
    PatientRecord p;
    p.idNumber = 17;
    PatientRecord::setText(p.name, QString::fromUtf8("Zo\u00e9 \u674e"));
    p.gender = 1;
    p.age = 63;
    p.height = 178;
    p.weight = 70;
    PatientRecord::setText(p.physician, QStringLiteral("Dr Okafor"));
    PatientRecord::setText(p.note1, QStringLiteral("CPAP trial"));
    PatientRecord::setText(p.note2, QStringLiteral("night 2"));
    PatientRecord::setText(p.comments, QStringLiteral("snores"));
    p.unitSystem = 1;
    return p;
}

TEST(PatientRecord, FieldsSitAtTheirByteOffsets)
{
    const QByteArray b = sample().toBytes();
    ASSERT_EQ(b.size(), 544);
    EXPECT_EQ(qFromLittleEndian<qint32>(b.constData() + 0), 17);
    EXPECT_EQ(textAt(b, 4, 30), QString::fromUtf8("Zo\u00e9 \u674e"));
    EXPECT_EQ(qFromLittleEndian<qint32>(b.constData() + 64), 1);
    EXPECT_EQ(qFromLittleEndian<qint32>(b.constData() + 68), 63);
    EXPECT_EQ(floatAt(b, 72), 178.0f);
    EXPECT_EQ(floatAt(b, 76), 70.0f);
    EXPECT_EQ(textAt(b, 80, 40), QStringLiteral("Dr Okafor"));
    EXPECT_EQ(textAt(b, 160, 50), QStringLiteral("CPAP trial"));
    EXPECT_EQ(textAt(b, 260, 50), QStringLiteral("night 2"));
    EXPECT_EQ(textAt(b, 360, 90), QStringLiteral("snores"));
    EXPECT_EQ(qFromLittleEndian<qint32>(b.constData() + 540), 1);
    // Little-endian UTF-16: the first name unit is 'Z' then 0.
    EXPECT_EQ(b.mid(4, 2), QByteArray("Z\0", 2));
}

TEST(PatientRecord, FullWidthTextStaysInsideItsField)
{
    PatientRecord p = sample();
    PatientRecord::setText(p.name, QString(35, u'N')); // longer than the 30 units
    const QByteArray b = p.toBytes();
    EXPECT_EQ(textAt(b, 4, 30), QString(30, u'N'));
    EXPECT_EQ(qFromLittleEndian<qint32>(b.constData() + 64), 1) << "gender untouched";
    PatientRecord back;
    ASSERT_TRUE(back.fromBytes(b));
    EXPECT_EQ(back.nameText(), QString(30, u'N'));
    EXPECT_EQ(back.gender, 1);
}

TEST(PatientStore, RecordsRoundTripPerIdAndWrongSizesReadAsMissing)
{
    const PatientRecord p = sample();
    ASSERT_TRUE(StorePatientInfo(0, p));
    ASSERT_TRUE(StorePatientInfo(127, p));
    PatientRecord back;
    ASSERT_TRUE(ReadPatientInfo(0, back));
    EXPECT_EQ(back, p);
    ASSERT_TRUE(ReadPatientInfo(127, back));
    EXPECT_FALSE(ReadPatientInfo(1, back));
    EXPECT_FALSE(StorePatientInfo(128, p));
    EXPECT_FALSE(StorePatientInfo(-1, p));

    {
        // Values are named by ID - 1 in decimal, as binary data.
        QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("quellix"),
                    QStringLiteral("patientinfo"));
        EXPECT_EQ(s.value(QStringLiteral("127")).toByteArray().size(), 544);
        s.setValue(QStringLiteral("5"), QByteArray(543, 'x'));
        s.setValue(QStringLiteral("6"), QByteArray(545, 'x'));
        s.setValue(QStringLiteral("7"), QStringLiteral("not a record"));
        s.sync();
    }
    PatientRecord untouched = sample();
    for (int index : {5, 6, 7}) {
        EXPECT_FALSE(ReadPatientInfo(index, untouched)) << index;
        EXPECT_EQ(untouched, sample()) << index;
    }
}

} // namespace
