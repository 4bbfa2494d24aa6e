#include "app/Settings.h"
#include "test_env.h"

#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

namespace
{

QSettings store()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("quellix"), QStringLiteral("setup"));
}

void wipe()
{
    QSettings s = store();
    s.clear();
    s.sync();
}

TEST(Settings, MissingValuesGiveTheirDefaults)
{
    wipe();
    EXPECT_EQ(ReadSetupInt(QStringLiteral("SaturationsHigh"), SetupDefaults::SaturationsHigh), 94);
    EXPECT_EQ(ReadSetupInt(QStringLiteral("SaturationsLow"), SetupDefaults::SaturationsLow), 88);
    EXPECT_EQ(ReadSetupInt(QStringLiteral("PrHigh"), SetupDefaults::PrHigh), 150);
    EXPECT_EQ(ReadSetupInt(QStringLiteral("PrLow"), SetupDefaults::PrLow), 60);
    EXPECT_EQ(ReadSetupInt(QStringLiteral("DesaturationsEvent"), SetupDefaults::DesaturationsEvent), 4);
    EXPECT_EQ(ReadSetupInt(QStringLiteral("PulseEvent"), SetupDefaults::PulseEvent), 6);
    EXPECT_EQ(ReadSetupInt(QStringLiteral("UnitSetup"), SetupDefaults::UnitSetup), 0);
    EXPECT_EQ(ReadSetupInt(QStringLiteral("Language"), SetupDefaults::Language), 0);
    EXPECT_FALSE(ReadSetupString(QStringLiteral("DefaultCOM")).has_value());
}

TEST(Settings, WritesConvertTextToNumbersExceptThePortName)
{
    wipe();
    ASSERT_TRUE(WriteSetupValue(QStringLiteral("UnitSetup"), QStringLiteral("1")));
    EXPECT_EQ(ReadSetupInt(QStringLiteral("UnitSetup"), 0), 1);
    ASSERT_TRUE(WriteSetupValue(QStringLiteral("PrHigh"), QStringLiteral("140bpm")));
    EXPECT_EQ(ReadSetupInt(QStringLiteral("PrHigh"), 150), 140);
    ASSERT_TRUE(WriteSetupValue(QStringLiteral("PrLow"), QStringLiteral("abc")));
    EXPECT_EQ(ReadSetupInt(QStringLiteral("PrLow"), 60), 0) << "no leading digits stores 0, not the default";
    ASSERT_TRUE(WriteSetupValue(QStringLiteral("port"), QStringLiteral("ttyUSB0 (CP2102)")));
    EXPECT_EQ(ReadSetupInt(QStringLiteral("port"), -1), 0);

    ASSERT_TRUE(WriteSetupValue(QStringLiteral("DefaultCOM"), QStringLiteral("ttyUSB0")));
    EXPECT_EQ(ReadSetupString(QStringLiteral("DefaultCOM")).value_or(QString()), QStringLiteral("ttyUSB0"));
    ASSERT_TRUE(WriteSetupValue(QStringLiteral("DefaultCOM"), QStringLiteral("12")));
    EXPECT_EQ(store().value(QStringLiteral("DefaultCOM")).toString(), QStringLiteral("12"));
}

TEST(Settings, LeadingNumberKeepsThirtyTwoBits)
{
    EXPECT_EQ(LeadingNumber(QStringLiteral("")), 0);
    EXPECT_EQ(LeadingNumber(QStringLiteral("-5")), 0);
    EXPECT_EQ(LeadingNumber(QStringLiteral("007x9")), 7);
    EXPECT_EQ(LeadingNumber(QStringLiteral("4294967295")), -1); // all 32 bits set
    EXPECT_EQ(LeadingNumber(QStringLiteral("4294967296")), 0);
}

TEST(Settings, StoredOnDiskInTheUsersConfigFolderAndRecreatedWhenDeleted)
{
    wipe();
    ASSERT_TRUE(WriteSetupValue(QStringLiteral("SaturationsLow"), QStringLiteral("85")));
    const QString file = testenv::root() + QStringLiteral("/config/quellix/setup.conf");
    ASSERT_TRUE(QFile::exists(file));
    ASSERT_TRUE(QFile::remove(file));
    EXPECT_EQ(ReadSetupInt(QStringLiteral("SaturationsLow"), 88), 88);
    ASSERT_TRUE(WriteSetupValue(QStringLiteral("SaturationsLow"), QStringLiteral("86")));
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(ReadSetupInt(QStringLiteral("SaturationsLow"), 88), 86);
}

TEST(Settings, OverlongPortNameReadsAsMissing)
{
    wipe();
    QSettings s = store();
    s.setValue(QStringLiteral("DefaultCOM"), QStringLiteral("ttyUSB1234"));
    s.sync();
    EXPECT_FALSE(ReadSetupString(QStringLiteral("DefaultCOM")).has_value());
}

} // namespace
