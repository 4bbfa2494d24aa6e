// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/DeviceError.h"
#include "device/LinkMode.h"

#include <QString>
#include <QStringList>

#include <memory>

class HexLog;
class RawDump;
class SocketLink;
class Transport;

// How the device is reached over one kind of link: the lines to try, and
// opening one of them. PortSearch walks the lines; the connector keeps the
// transport it opened.
class Connector
{
public:
    Connector() = default;
    virtual ~Connector() = default;
    Connector(const Connector &) = delete;
    Connector &operator=(const Connector &) = delete;

    virtual LinkMode linkMode() const = 0;
    // The lines to try, in order. forDownload: the download's search, which
    // leaves Bluetooth serial ports out of the brute-force part.
    virtual QStringList candidates(bool forDownload) const = 0;
    // Opens line at baud for the handshake.
    virtual DeviceResult<Transport *> open(const QString &line, int baud) = 0;
    // Moves a line that answered to the device's data rate.
    virtual DeviceResult<Transport *> reopen(const QString &line, int baud) = 0;
    // Closes what open made; a link made elsewhere stays up.
    virtual void close() {}
    // The line as it stands (perhaps closed), null when there is none.
    virtual Transport *transport() const = 0;
    // What the device needs between open and the handshake, in ms.
    virtual int settleMs() const { return 0; }
    // The line a found device is on, remembered as "DefaultCOM": serial only.
    virtual bool remembersLine() const { return false; }
    // The line tried first; moved to the line that answered.
    virtual QString firstLine() const { return {}; }
    virtual void answered(const QString & /*line*/) {}
    // The file name of line, as a refusal names it.
    virtual QString pathOf(const QString &line) const { return line; }

    // Every byte on the link to the hex log and the raw dump (null: none).
    void setLog(std::shared_ptr<HexLog> log);
    void setDump(std::shared_ptr<RawDump> dump);

protected:
    // Hands log() and dump() to the transports.
    virtual void tap() = 0;
    const std::shared_ptr<HexLog> &log() const { return log_; }
    const std::shared_ptr<RawDump> &dump() const { return dump_; }

private:
    std::shared_ptr<HexLog> log_;
    std::shared_ptr<RawDump> dump_;
};

// The Bluetooth link the search dialog connected (or --bluetooth); one line.
class BluetoothConnector : public Connector
{
public:
    explicit BluetoothConnector(std::shared_ptr<SocketLink> link);
    LinkMode linkMode() const override { return LinkMode::Bluetooth; }
    QStringList candidates(bool forDownload) const override;
    // Disconnected when the link is not up.
    DeviceResult<Transport *> open(const QString &line, int baud) override;
    DeviceResult<Transport *> reopen(const QString &line, int baud) override;
    Transport *transport() const override;
    // The device needs it after a connect.
    int settleMs() const override { return 100; }

protected:
    void tap() override;

private:
    std::shared_ptr<SocketLink> link_;
};

// A serial-link device behind a transport that is always there (the
// in-process simulated device): one line, nothing to open.
class FixedConnector : public Connector
{
public:
    explicit FixedConnector(std::shared_ptr<Transport> transport);
    LinkMode linkMode() const override { return LinkMode::Serial; }
    QStringList candidates(bool forDownload) const override;
    DeviceResult<Transport *> open(const QString &line, int baud) override;
    DeviceResult<Transport *> reopen(const QString &line, int baud) override { return open(line, baud); }
    Transport *transport() const override { return transport_.get(); }
    QString firstLine() const override;

protected:
    void tap() override;

private:
    std::shared_ptr<Transport> transport_;
};
