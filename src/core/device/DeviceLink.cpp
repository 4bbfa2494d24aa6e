// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DeviceLink.h"

#include "device/Transport.h"
#include "device/WaitClock.h"

namespace
{
constexpr int kMaxResends = 5;
} // namespace

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

bool DeviceLink::sendQuiet(const Protocol::Command &command)
{
    if (!transport_)
        return false;
    return transport_->Write(QByteArray(reinterpret_cast<const char *>(command.data()), int(command.size())));
}

bool DeviceLink::sendCommand(const Protocol::Command &command)
{
    if (linkMode() == LinkMode::Bluetooth && !linkUp()) {
        messages.push_back(DeviceMessage::NotConnected);
        return false;
    }
    if (!sendQuiet(command)) {
        messages.push_back(DeviceMessage::WriteFailed);
        return false;
    }
    return true;
}

QByteArray DeviceLink::readReply()
{
    QByteArray reply;
    if (!transport_)
        return reply;
    if (linkMode() == LinkMode::Bluetooth) {
        transport_->ReadAvailable(reply, Protocol::kReplySize, 3);
        return reply;
    }
    // Everything queued is read; only the first 38 bytes are kept.
    QByteArray chunk;
    while (true) {
        chunk.clear();
        if (!transport_->ReadAvailable(chunk, Protocol::kReceiveBufferSize, 0) || chunk.isEmpty())
            break;
        if (reply.size() < Protocol::kReplySize)
            reply.append(chunk.left(Protocol::kReplySize - reply.size()));
    }
    return reply;
}

bool DeviceLink::QueryDeviceInfo()
{
    const auto command = Protocol::BuildCommand(Protocol::QueryDeviceInfo, 0, 0);
    if (!sendCommand(command))
        return false;
    if (!pause(400))
        return false;
    QByteArray reply = readReply();
    for (int resends = 0; reply.size() < 37 && resends < kMaxResends; ++resends) {
        reply.clear();
        if (!sendCommand(command))
            return false;
        if (!pause(500))
            return false;
        reply = readReply();
    }
    const Protocol::DeviceInfoCheck check = Protocol::CheckDeviceInfoReply(reply);
    if (check.fieldsValid) {
        info = check.info;
        deviceModel = check.info.model;
        dataBaud = check.info.dataBaud;
    }
    return check.accepted;
}

DeviceLink::CountsResult DeviceLink::QueryCounts()
{
    if (transport_)
        transport_->Drain();
    const auto command = Protocol::BuildCommand(Protocol::QueryCounts, 0, 0);
    if (!sendCommand(command))
        return CountsResult::Failed;
    if (!pause(500) || !pause(linkMode() == LinkMode::Serial ? 500 : 200))
        return CountsResult::Failed;
    QByteArray reply = readReply();
    for (int resends = 0; reply.size() < Protocol::kReplySize && resends < kMaxResends; ++resends) {
        reply.clear();
        sendCommand(command); // a failed write is reported and the loop goes on
        if (!pause(500))
            return CountsResult::Failed;
        reply = readReply();
    }
    const auto checked = Protocol::CheckCountReply(reply);
    if (!checked)
        return CountsResult::Failed;
    counts = *checked;
    totalCount = counts.totalCount();
    return CountsResult::Connected;
}

void DeviceLink::SendStop()
{
    const auto command = Protocol::BuildCommand(Protocol::StopTransfer, 0, 0);
    sendQuiet(command);
    pause(500);
    sendQuiet(command);
    pause(100);
    if (transport_)
        transport_->Drain();
}

bool DeviceLink::exchangeAck(const Protocol::Command &command, int &resendBudget)
{
    if (!sendCommand(command) || !pause(500))
        return false;
    QByteArray reply = readReply();
    while (reply.size() < Protocol::kReplySize && resendBudget > 0) {
        --resendBudget;
        if (!sendCommand(command) || !pause(500))
            return false;
        reply = readReply();
    }
    return Protocol::IsAcknowledgement(reply, Protocol::TagClockAck);
}

bool DeviceLink::SetDeviceClock(std::uint32_t word)
{
    // The serial link shares one re-send budget between both commands.
    int budget = kMaxResends;
    bool ok = exchangeAck(Protocol::SetDateCommand(word), budget);
    if (ok) {
        if (linkMode() == LinkMode::Bluetooth)
            budget = kMaxResends;
        ok = exchangeAck(Protocol::SetTimeCommand(word), budget);
    }
    messages.push_back(ok ? DeviceMessage::SetClockSucceeded : DeviceMessage::SetClockError);
    return ok;
}

bool DeviceLink::DeleteDeviceData(int id, Protocol::DeleteDataType type, const std::function<void(bool)> &waiting)
{
    if (!sendCommand(Protocol::DeleteDataCommand(id, type)))
        return false;
    if (waiting)
        waiting(true);
    QByteArray reply;
    for (int round = 0; round < 11; ++round) {
        const QByteArray part = readReply();
        reply.append(part.left(Protocol::kReplySize - reply.size()));
        if (reply.size() >= Protocol::kReplySize)
            break;
        if (!pause(1000))
            break;
    }
    if (waiting)
        waiting(false);
    const bool ok = Protocol::IsAcknowledgement(reply, Protocol::TagDeleteAck);
    messages.push_back(ok ? DeviceMessage::DataCleared : DeviceMessage::DeleteError);
    return ok;
}
