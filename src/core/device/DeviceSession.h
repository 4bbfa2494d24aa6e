// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/DeviceError.h"
#include "device/DeviceLink.h"
#include "device/LinkMode.h"
#include "device/PortList.h"
#include "device/WaitClock.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class Connector;
class HexLog;
class RawDump;
class SocketLink;
class Transport;
struct SerialSearch;

// What the download search found: the device and what it holds.
struct FoundDevice {
    Protocol::DeviceInfo info;
    Protocol::Counts counts;
};

// The device as the download window and the maintenance commands reach it:
// one connector for the kind of link, the exchanges over the line a search
// found, and what the user must be told. Nothing here shows a dialog or
// writes a setting: what the user must be told is collected in messages(),
// the port to remember in portToRemember(). The search and the procedures
// block their caller (run them off the UI thread); cancel() cuts one short
// from any thread. The transfer itself belongs to DownloadEngine.
class DeviceSession
{
public:
    // clock: the fixed waits (null: real time).
    explicit DeviceSession(std::shared_ptr<WaitClock> clock = nullptr);
    ~DeviceSession(); // closes the port
    DeviceSession(const DeviceSession &) = delete;
    DeviceSession &operator=(const DeviceSession &) = delete;

    LinkMode linkMode() const;
    // How the device is reached; a serial search of /dev until one is chosen.
    void useSerial(const SerialSearch &search);
    // Bluetooth over an already connected link.
    void useBluetooth(std::shared_ptr<SocketLink> link);
    // A serial-link device behind a transport that is always there (the
    // in-process simulated device): the search is its handshake alone.
    void useTransport(std::shared_ptr<Transport> transport);

    // The port tried first; after a search that found the device, its port.
    QString port() const;
    // Set when a search found the device on a serial port that should be
    // written to "DefaultCOM" (the caller writes it); empty otherwise.
    QString portToRemember() const { return portToRemember_; }

    // Ends a running search or procedure early (as not found / failed) and
    // makes later ones end at once, until resume(). Any thread.
    void cancel();
    void resume();
    bool cancelled() const { return clock_->cancelled(); }
    WaitClock &clock() { return *clock_; }

    // Hex log of every byte on the link (null: none).
    void setLog(std::shared_ptr<HexLog> log);
    // Raw dump of every byte on the link, with each port opened (null: none).
    void setDump(std::shared_ptr<RawDump> dump);

    // Port search for a download: handshake, reopen at the data baud rate,
    // counts. NotFound when no line answered (or the search was cancelled),
    // NoData when the device holds no readings, Protocol when its count reply
    // was rejected.
    DeviceResult<FoundDevice> FindDevice();

    // Port search for a maintenance command: the first port whose device answers
    // the handshake (and reopens at the data baud rate) gets action run on it.
    // Fails, with "Can't find right COM or the device is power off !" or
    // "No Connected, please connect device!" in messages(), when none answered.
    // InSearch: a port that cannot be reopened at the data rate does not answer;
    // InAction: action reopens it itself (and reports a failure as its own error).
    enum class MaintenanceReopen { InSearch, InAction };
    DeviceResult<> FindDeviceFor(const std::function<void(DeviceLink &)> &action,
                                 MaintenanceReopen reopen = MaintenanceReopen::InSearch);

    // The whole set-clock command after its dialog: search, SetDeviceClock.
    DeviceResult<> SetClockProcedure(std::uint32_t word);
    // The whole delete command after its dialog: search, counts, DeleteDeviceData
    // (or "no data!"). waiting(true/false) brackets the wait for the acknowledgement.
    DeviceResult<> DeleteProcedure(int id, Protocol::DeleteDataType type,
                                   const std::function<void(bool)> &waiting = {});

    // The end of every transfer (once its workers have ended) and maintenance
    // command: wait 500 ms, send the stop command (twice), close the port,
    // clear the exchange state except totalCount.
    void TransferEnd();

    DeviceLink &link() { return link_; }
    const DeviceLink &link() const { return link_; }
    // The device's model as its last handshake gave it.
    int deviceModel() const { return link_.lastInfo().model; }
    int frameCount() const { return counts_.frameCount; }
    // Of the last count reply that passed.
    int totalCount() const { return totalCount_; }

    // What to tell the user, oldest first; takeMessages() empties the list.
    const DeviceMessages &messages() const { return link_.messages(); }
    DeviceMessages takeMessages() { return link_.takeMessages(); }

    // Ports the last search could not open for lack of permission.
    QStringList permissionDenied() const { return permissionDenied_; }

private:
    void useConnector(std::unique_ptr<Connector> connector);
    DeviceResult<QString> search(bool forDownload, bool reopenAtDataRate);

    std::shared_ptr<WaitClock> clock_;
    std::unique_ptr<Connector> connector_;
    std::shared_ptr<HexLog> log_;
    std::shared_ptr<RawDump> dump_;
    DeviceLink link_;
    Protocol::Counts counts_;
    int totalCount_ = 0;
    QStringList permissionDenied_;
    QString portToRemember_;
};
