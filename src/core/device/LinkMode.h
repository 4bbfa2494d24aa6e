// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How the device is reached: a serial port of our own, or the Bluetooth link.
enum class LinkMode { Serial, Bluetooth };
