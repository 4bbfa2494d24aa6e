// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/DeviceError.h"
#include "device/DeviceMessage.h"
#include "device/LinkMode.h"
#include "device/Protocol.h"

#include <cstdint>
#include <functional>

class Transport;
class WaitClock;

// The exchanges with the device over an open transport: handshake, count query,
// stop and the two maintenance commands, with their fixed waits and bounded
// re-sends. Each returns what it got or why it failed; what the user must be
// told is collected in messages (never shown here, so nothing blocks on a
// dialog). The waits go through the clock, so a cancel ends an exchange early
// (Cancelled).
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

    // What the user must be told, in the order it happened.
    void tell(DeviceMessage message) { messages_.push_back(message); }
    const DeviceMessages &messages() const { return messages_; }
    DeviceMessages takeMessages();

    // The handshake. Timeout when nothing answered, Protocol when the reply
    // failed its checks.
    DeviceResult<Protocol::DeviceInfo> QueryDeviceInfo();
    // The fields of the last information reply whose header and tag passed,
    // even if its length did not: they replace what was known of the device.
    const Protocol::DeviceInfo &lastInfo() const { return lastInfo_; }
    // Timeout when nothing answered, Protocol when the reply failed its checks.
    DeviceResult<Protocol::Counts> QueryCounts();
    // StopTransfer twice, 500 ms apart, then 100 ms and a drain.
    void SendStop();
    // SetDate then SetTime, each acknowledged. Adds "Set Date and Time Error !"
    // or "Set Date and Time Succeed !" to messages.
    DeviceResult<> SetDeviceClock(std::uint32_t word);
    // Sends DeleteData and waits up to 11 s for its acknowledgement. Adds
    // "Device data cleared !" or "Delete Data Error !" to messages.
    // waiting(true) before the wait, waiting(false) after (the "Deleting Data ..." window).
    DeviceResult<> DeleteDeviceData(int id, Protocol::DeleteDataType type,
                                    const std::function<void(bool)> &waiting = {});

    // Sends one command; on failure adds the matching text to messages.
    DeviceResult<> sendCommand(const Protocol::Command &command);
    // Sends one command without the link check and without a message.
    DeviceResult<> sendQuiet(const Protocol::Command &command);
    // Reads one reply: everything queued, cut to 38 bytes.
    QByteArray readReply();

    // Fixed pause of the exchanges; false when cancelled.
    bool pause(int ms);

private:
    bool linkUp();
    DeviceResult<> exchangeAck(const Protocol::Command &command, int &resendBudget);

    Transport *transport_ = nullptr;
    WaitClock *clock_ = nullptr;
    Protocol::DeviceInfo lastInfo_;
    DeviceMessages messages_;
};

// A reply that did not pass: Timeout when nothing came, else Protocol.
DeviceFailure RejectedReply(const QByteArray &reply, const char *what);
// An exchange cut short by a cancel.
DeviceFailure CancelledExchange();
