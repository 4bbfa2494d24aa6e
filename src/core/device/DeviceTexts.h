#pragma once

#include <QString>

// The device link's own texts, translated through Qt (context "Device").
namespace DeviceTexts
{
QString WriteFailed();                         // "write com command failed!"
QString ReadTimeout();                         // "Read data timeout,please retry"
QString NotConnected();                        // "No Connected, please connect device!"
QString ReadOutOfBuffer();                     // "read data out of buffer!"
QString ReadFailed();                          // "read com failed!"
QString CantFindDevice();                      // "Can't find right COM or the device is power off !"
QString NoData();                              // "no data!"
QString SyncError();                           // "Synchronization error!"
QString NewMemoryError();                      // "new memory err!"
QString SetClockSucceeded();                   // "Set Date and Time Succeed !"
QString SetClockError();                       // "Set Date and Time Error !"
QString DataCleared();                         // "Device data cleared !"
QString DeleteError();                         // "Delete Data Error !"
QString ConnectSucceeded(int totalCount);      // "Connect succeed! Total 42 Frames!"
QString PermissionDenied(const QString &path); // the added hint on a refused port
QString PartialDownload(int received, int announced);
} // namespace DeviceTexts
