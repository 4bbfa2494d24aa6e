// SPDX-License-Identifier: GPL-3.0-or-later
// The device-information, count and acknowledgement checks over arbitrary replies:
// only the first 38 bytes matter, and a reply too short for its fields is refused.
#include "FuzzInput.h"

#include "device/Protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray reply = fuzzBytes(data, size);
    const QByteArray longer = reply + QByteArray(16, '\x5A');

    const Protocol::DeviceInfoCheck info = Protocol::CheckDeviceInfoReply(reply);
    FUZZ_CHECK(!info.accepted || info.fieldsValid);
    FUZZ_CHECK(!info.fieldsValid || size >= 23);
    if (size >= std::size_t(Protocol::kReplySize))
        FUZZ_CHECK(Protocol::CheckDeviceInfoReply(longer).accepted == info.accepted);

    const auto counts = Protocol::CheckCountReply(reply);
    FUZZ_CHECK(!counts || size >= 19);
    if (counts) {
        FUZZ_CHECK(counts->frameCount >= 0 && counts->frameCount <= 0xFFFF);
        FUZZ_CHECK(counts->totalCount() <= 3 * 0xFFFF);
    }

    const std::uint16_t firstByte = size ? data[0] : 0;
    for (std::uint16_t tag : {std::uint16_t(Protocol::TagClockAck), std::uint16_t(Protocol::TagDeleteAck), firstByte}) {
        const bool ack = Protocol::IsAcknowledgement(reply, tag);
        FUZZ_CHECK(!ack || size >= 5);
        if (size >= std::size_t(Protocol::kReplySize))
            FUZZ_CHECK(Protocol::IsAcknowledgement(longer, tag) == ack);
    }
    return 0;
}
