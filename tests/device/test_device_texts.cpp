// The words the user reads for each report of the device layer.
#include "device/DownloadEngine.h"
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
