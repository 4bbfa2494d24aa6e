// SPDX-License-Identifier: GPL-3.0-or-later
// Line speeds through termios2, so any rate the device names can be set.
// Kept apart: <asm/termbits.h> cannot share a file with <termios.h>.
#include "device/SerialPort.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

bool SerialPort::SetLineSpeed(int fd, int baud)
{
    if (baud <= 0)
        return false;
    struct termios2 t {
    };
    if (::ioctl(fd, TCGETS2, &t) != 0)
        return false;
    t.c_cflag &= ~tcflag_t(CBAUD);
    t.c_cflag |= BOTHER;
    t.c_ispeed = speed_t(baud);
    t.c_ospeed = speed_t(baud);
    t.c_cflag &= ~tcflag_t(CIBAUD);
    return ::ioctl(fd, TCSETS2, &t) == 0;
}

int SerialPort::LineSpeed(int fd)
{
    struct termios2 t {
    };
    if (::ioctl(fd, TCGETS2, &t) != 0)
        return 0;
    return int(t.c_ospeed);
}
