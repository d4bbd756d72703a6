// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LineSpeed.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

bool SetLineSpeed(int fd, unsigned baud) {
    struct termios2 line {};
    if (ioctl(fd, TCGETS2, &line) != 0) return false;
    line.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
    line.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    line.c_ispeed = baud;
    line.c_ospeed = baud;
    return ioctl(fd, TCSETS2, &line) == 0;
}

bool ReadLineSpeed(int fd, unsigned& input, unsigned& output) {
    struct termios2 line {};
    if (ioctl(fd, TCGETS2, &line) != 0) return false;
    input = line.c_ispeed;
    output = line.c_ospeed;
    return true;
}
