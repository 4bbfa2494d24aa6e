// SPDX-License-Identifier: GPL-3.0-or-later
// The words the user reads for each report of the device layer.
#include "device/DownloadResult.h"
#include "test_samples.h"
#include "texts/DeviceTexts.h"

#include <gtest/gtest.h>

TEST(DeviceTexts, EveryReportHasItsExactText)
{
    const std::pair<DeviceMessage, const char *> table[] = {
        {DeviceMessage::WriteFailed, "write com command failed!"},
        {DeviceMessage::ReadTimeout, "Read data timeout,please retry"},
        {DeviceMessage::NotConnected, "No Connected, please connect device!"},
        {DeviceMessage::ReadOutOfBuffer, "read data out of buffer!"},
        {DeviceMessage::ReadFailed, "read com failed!"},
        {DeviceMessage::CantFindDevice, "Can't find right COM or the device is power off !"},
        {DeviceMessage::NoData, "no data!"},
        {DeviceMessage::SyncError, "Synchronization error!"},
        {DeviceMessage::NewMemoryError, "new memory err!"},
        {DeviceMessage::SetClockSucceeded, "Set Date and Time Succeed !"},
        {DeviceMessage::SetClockError, "Set Date and Time Error !"},
        {DeviceMessage::DataCleared, "Device data cleared !"},
        {DeviceMessage::DeleteError, "Delete Data Error !"},
    };
    for (const auto &[message, text] : table)
        EXPECT_EQ(DeviceTexts::text(message).toStdString(), text) << int(message);
    EXPECT_EQ(DeviceTexts::ConnectSucceeded(42), QStringLiteral("Connect succeed! Total 42 Frames!"));
    EXPECT_EQ(DeviceTexts::texts({DeviceMessage::CantFindDevice}, {QStringLiteral("/dev/ttyUSB0")}),
              (QStringList{QStringLiteral("Can't find right COM or the device is power off !"),
                           QStringLiteral("Permission denied on /dev/ttyUSB0: add your user to the dialout group, "
                                          "then log in again")}));
    // Every refused port in one hint, not a message box each.
    EXPECT_EQ(
        DeviceTexts::texts({DeviceMessage::CantFindDevice},
                           {QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyS1"), QStringLiteral("/dev/ttyS2")}),
        (QStringList{QStringLiteral("Can't find right COM or the device is power off !"),
                     QStringLiteral("Permission denied on /dev/ttyS0, /dev/ttyS1, /dev/ttyS2: add your user to "
                                    "the dialout group, then log in again")}));
}

TEST(DeviceTexts, ADownloadShortOfItsFramesSaysHowShort)
{
    DownloadResult r;
    r.transferRan = true;
    r.framesAnnounced = 25;
    r.framesReceived = 3;
    r.status = DownloadStatus::Timeout;
    r.messages = {DeviceMessage::ReadTimeout};
    EXPECT_EQ(DeviceTexts::describe(r), (QStringList{QStringLiteral("Read data timeout,please retry"),
                                                     QStringLiteral("Only 3 of the 25 announced frames arrived.")}));
    // The device's own end tag ends a download early without a shortfall.
    r.endTag = true;
    EXPECT_EQ(DeviceTexts::describe(r).size(), 1);
    // A Stop is no shortfall either.
    r.endTag = false;
    r.status = DownloadStatus::Stopped;
    r.messages.clear();
    EXPECT_TRUE(DeviceTexts::describe(r).isEmpty());
}

TEST(DeviceTexts, CheckLinesGiveFramesAndEachIdsTimeSpan)
{
    DownloadResult r;
    r.framesAnnounced = 9;
    r.framesReceived = 8;
    const auto at = [](int id, int hour, int minute, int second) {
        SampleRecord s = testdata::Reading(id, second);
        s.hour = std::uint8_t(hour);
        s.minute = std::uint8_t(minute);
        return s;
    };
    // ID 5 arrives newest first, as some models send it.
    r.readings[4] = {at(5, 23, 0, 1), at(5, 22, 59, 59), at(5, 23, 0, 0)};
    r.readings[126] = {at(127, 1, 2, 3)};
    r.summarise();
    EXPECT_EQ(
        DeviceTexts::checkLines(r),
        QStringList({QStringLiteral("Frames announced: 9, arrived: 8"),
                     QStringLiteral("ID 5: first reading 2026-03-14 22:59:59, last reading 2026-03-14 23:00:01"),
                     QStringLiteral("ID 127: first reading 2026-03-14 01:02:03, last reading 2026-03-14 01:02:03")}));
}
