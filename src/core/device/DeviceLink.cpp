// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DeviceLink.h"

#include "device/Transport.h"
#include "device/WaitClock.h"

namespace
{
constexpr int kMaxResends = 5;
} // namespace

DeviceFailure RejectedReply(const QByteArray &reply, const char *what)
{
    if (reply.isEmpty())
        return {DeviceError::Timeout, QStringLiteral("no %1 reply").arg(QLatin1String(what))};
    return {DeviceError::Protocol,
            QStringLiteral("%1 reply rejected: %2").arg(QLatin1String(what), Protocol::HexBytes(reply))};
}

DeviceFailure CancelledExchange()
{
    return {DeviceError::Cancelled, QStringLiteral("cancelled")};
}

DeviceMessages DeviceLink::takeMessages()
{
    DeviceMessages out;
    out.swap(messages_);
    return out;
}

bool DeviceLink::pause(int ms)
{
    if (clock_)
        return clock_->pause(ms);
    static WaitClock realClock;
    return realClock.pause(ms);
}

LinkMode DeviceLink::linkMode() const
{
    return transport_ ? transport_->linkMode() : LinkMode::Serial;
}

bool DeviceLink::linkUp()
{
    return transport_ && transport_->isOpen();
}

DeviceResult<> DeviceLink::sendQuiet(const Protocol::Command &command)
{
    if (!transport_)
        return DeviceFailure{DeviceError::Disconnected, QStringLiteral("no line")};
    return transport_->Write(QByteArray(reinterpret_cast<const char *>(command.data()), int(command.size())));
}

DeviceResult<> DeviceLink::sendCommand(const Protocol::Command &command)
{
    if (linkMode() == LinkMode::Bluetooth && !linkUp()) {
        tell(DeviceMessage::NotConnected);
        return DeviceFailure{DeviceError::Disconnected, QStringLiteral("the Bluetooth link is down")};
    }
    DeviceResult<> sent = sendQuiet(command);
    if (!sent)
        tell(DeviceMessage::WriteFailed);
    return sent;
}

QByteArray DeviceLink::readReply()
{
    QByteArray reply;
    if (!transport_)
        return reply;
    if (linkMode() == LinkMode::Bluetooth) {
        // A link that went down reads as no reply; the exchange fails on it.
        (void)transport_->ReadAvailable(reply, Protocol::kReplySize, 3);
        return reply;
    }
    // Everything queued is read; only the first 38 bytes are kept.
    QByteArray chunk;
    while (true) {
        chunk.clear();
        if (!transport_->ReadAvailable(chunk, Protocol::kReceiveBufferSize, 0).ok() || chunk.isEmpty())
            break;
        if (reply.size() < Protocol::kReplySize)
            reply.append(chunk.left(Protocol::kReplySize - reply.size()));
    }
    return reply;
}

DeviceResult<Protocol::DeviceInfo> DeviceLink::QueryDeviceInfo()
{
    const auto command = Protocol::BuildCommand(Protocol::QueryDeviceInfo, 0, 0);
    if (const DeviceResult<> sent = sendCommand(command); !sent)
        return sent.failure();
    if (!pause(400))
        return CancelledExchange();
    QByteArray reply = readReply();
    for (int resends = 0; reply.size() < 37 && resends < kMaxResends; ++resends) {
        reply.clear();
        if (const DeviceResult<> sent = sendCommand(command); !sent)
            return sent.failure();
        if (!pause(500))
            return CancelledExchange();
        reply = readReply();
    }
    const Protocol::DeviceInfoCheck check = Protocol::CheckDeviceInfoReply(reply);
    if (check.fieldsValid)
        lastInfo_ = check.info;
    if (!check.accepted)
        return RejectedReply(reply, "device information");
    return check.info;
}

DeviceResult<Protocol::Counts> DeviceLink::QueryCounts()
{
    if (transport_)
        transport_->Drain();
    const auto command = Protocol::BuildCommand(Protocol::QueryCounts, 0, 0);
    if (const DeviceResult<> sent = sendCommand(command); !sent)
        return sent.failure();
    if (!pause(500) || !pause(linkMode() == LinkMode::Serial ? 500 : 200))
        return CancelledExchange();
    QByteArray reply = readReply();
    for (int resends = 0; reply.size() < Protocol::kReplySize && resends < kMaxResends; ++resends) {
        reply.clear();
        (void)sendCommand(command); // a failed write is reported and the loop goes on
        if (!pause(500))
            return CancelledExchange();
        reply = readReply();
    }
    const auto checked = Protocol::CheckCountReply(reply);
    if (!checked)
        return RejectedReply(reply, "count");
    return *checked;
}

void DeviceLink::SendStop()
{
    // Quiet and unconditional: the end runs whole whatever failed before.
    const auto command = Protocol::BuildCommand(Protocol::StopTransfer, 0, 0);
    (void)sendQuiet(command);
    pause(500);
    (void)sendQuiet(command);
    pause(100);
    if (transport_)
        transport_->Drain();
}

DeviceResult<> DeviceLink::exchangeAck(const Protocol::Command &command, int &resendBudget)
{
    if (DeviceResult<> sent = sendCommand(command); !sent)
        return sent;
    if (!pause(500))
        return CancelledExchange();
    QByteArray reply = readReply();
    while (reply.size() < Protocol::kReplySize && resendBudget > 0) {
        --resendBudget;
        if (DeviceResult<> sent = sendCommand(command); !sent)
            return sent;
        if (!pause(500))
            return CancelledExchange();
        reply = readReply();
    }
    if (!Protocol::IsAcknowledgement(reply, Protocol::TagClockAck))
        return RejectedReply(reply, "clock acknowledgement");
    return {};
}

DeviceResult<> DeviceLink::SetDeviceClock(std::uint32_t word)
{
    // The serial link shares one re-send budget between both commands.
    int budget = kMaxResends;
    DeviceResult<> done = exchangeAck(Protocol::SetDateCommand(word), budget);
    if (done) {
        if (linkMode() == LinkMode::Bluetooth)
            budget = kMaxResends;
        done = exchangeAck(Protocol::SetTimeCommand(word), budget);
    }
    tell(done ? DeviceMessage::SetClockSucceeded : DeviceMessage::SetClockError);
    return done;
}

DeviceResult<> DeviceLink::DeleteDeviceData(int id, Protocol::DeleteDataType type,
                                            const std::function<void(bool)> &waiting)
{
    if (DeviceResult<> sent = sendCommand(Protocol::DeleteDataCommand(id, type)); !sent)
        return sent;
    if (waiting)
        waiting(true);
    QByteArray reply;
    bool cancelled = false;
    for (int round = 0; round < 11; ++round) {
        const QByteArray part = readReply();
        reply.append(part.left(Protocol::kReplySize - reply.size()));
        if (reply.size() >= Protocol::kReplySize)
            break;
        if (!pause(1000)) {
            cancelled = true;
            break;
        }
    }
    if (waiting)
        waiting(false);
    const bool ok = Protocol::IsAcknowledgement(reply, Protocol::TagDeleteAck);
    tell(ok ? DeviceMessage::DataCleared : DeviceMessage::DeleteError);
    if (ok)
        return {};
    return cancelled ? CancelledExchange() : RejectedReply(reply, "delete acknowledgement");
}
