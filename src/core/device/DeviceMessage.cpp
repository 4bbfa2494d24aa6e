// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DeviceMessage.h"

Severity DeviceNotice::severity() const
{
    if (kind == Kind::ConnectSucceeded)
        return Severity::Information;
    if (kind == Kind::Message && (message == DeviceMessage::SetClockSucceeded || message == DeviceMessage::DataCleared))
        return Severity::Information;
    return Severity::Warning;
}

DeviceNotices NoticesOf(const DeviceMessages &messages, const QStringList &permissionDenied)
{
    DeviceNotices out;
    for (DeviceMessage m : messages) {
        DeviceNotice n;
        n.message = m;
        out.push_back(n);
        if (m == DeviceMessage::CantFindDevice && !permissionDenied.isEmpty()) {
            DeviceNotice hint;
            hint.kind = DeviceNotice::Kind::PermissionDenied;
            hint.ports = permissionDenied;
            out.push_back(hint);
        }
    }
    return out;
}
