// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

class CheckedFile;

// The container of an Excel 97-2003 file: a compound file (version 3, 512-byte
// sectors) holding one stream named "Workbook".
namespace CompoundFile
{

// Smallest stream kept in ordinary sectors; a shorter one would have to live in
// the mini stream, so the workbook is padded up to it instead.
inline constexpr int kMinStreamSize = 4096;

// Writes the container around the workbook stream. False when a write fails.
bool writeWorkbook(CheckedFile &out, const QByteArray &workbook);

} // namespace CompoundFile
