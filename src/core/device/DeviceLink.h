// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/DeviceMessage.h"
#include "device/LinkMode.h"
#include "device/Protocol.h"

#include <cstdint>
#include <functional>

class Transport;
class WaitClock;

// The exchanges with the device over an open transport: handshake, count query,
// stop and the two maintenance commands, with their fixed waits and bounded
// re-sends. What the user must be told is collected in messages (never shown
// here, so nothing blocks on a dialog). The waits go through the clock, so a
// cancel ends an exchange early (as a failure).
class DeviceLink
{
public:
    DeviceLink() = default;
    explicit DeviceLink(Transport *transport) : transport_(transport) {}

    void setTransport(Transport *transport) { transport_ = transport; }
    // Null: the real clock, never cancelled.
    void setClock(WaitClock *clock) { clock_ = clock; }
    Transport *transport() const { return transport_; }
    LinkMode linkMode() const;

    // Filled by QueryDeviceInfo.
    int deviceModel = 0;
    std::uint32_t dataBaud = 0;
    Protocol::DeviceInfo info;
    // Filled by QueryCounts; totalCount keeps the last good value.
    Protocol::Counts counts;
    int totalCount = 0;

    DeviceMessages messages;

    bool QueryDeviceInfo();
    enum class CountsResult { Connected, Failed };
    CountsResult QueryCounts();
    // StopTransfer twice, 500 ms apart, then 100 ms and a drain.
    void SendStop();
    // SetDate then SetTime, each acknowledged. Adds "Set Date and Time Error !"
    // or "Set Date and Time Succeed !" to messages.
    bool SetDeviceClock(std::uint32_t word);
    // Sends DeleteData and waits up to 11 s for its acknowledgement. Adds
    // "Device data cleared !" or "Delete Data Error !" to messages.
    // waiting(true) before the wait, waiting(false) after (the "Deleting Data ..." window).
    bool DeleteDeviceData(int id, Protocol::DeleteDataType type, const std::function<void(bool)> &waiting = {});

    // Sends one command; on failure adds the matching text to messages.
    bool sendCommand(const Protocol::Command &command);
    // Sends one command without the link check and without a message.
    bool sendQuiet(const Protocol::Command &command);
    // Reads one reply: everything queued, cut to 38 bytes.
    QByteArray readReply();

    // Fixed pause of the exchanges; false when cancelled.
    bool pause(int ms);

private:
    bool linkUp();
    bool exchangeAck(const Protocol::Command &command, int &resendBudget);

    Transport *transport_ = nullptr;
    WaitClock *clock_ = nullptr;
};
