// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The rate of a serial line in bit/s, whatever the rate: the kernel's arbitrary-rate
// interface also sets 56000, 128000 and 256000, which have no speed_t constant. Kept apart
// from <termios.h>, whose struct termios clashes with the kernel's.

// Sets both directions to baud; false (errno set) when the device refuses.
bool SetLineSpeed(int fd, unsigned baud);
// The rates the device reports for input and output.
bool ReadLineSpeed(int fd, unsigned& input, unsigned& output);
