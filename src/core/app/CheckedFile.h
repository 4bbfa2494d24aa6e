// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/FileError.h"

#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

// The one way Quellix writes a file: every byte reaches the disk or the write
// fails, and a failed write leaves the file that was there before.
//
// QIODevice::write() may take fewer bytes than asked on a full disk without
// reporting an error, and QSaveFile keeps the tail of a file in its buffer
// until commit(); so writes here are unbuffered, repeated until every byte is
// taken, and synced to the disk before the file replaces the earlier one.
class CheckedFile
{
public:
    explicit CheckedFile(const QString &path);
    ~CheckedFile(); // an uncommitted file is discarded
    CheckedFile(const CheckedFile &) = delete;
    CheckedFile &operator=(const CheckedFile &) = delete;

    bool open();
    // Every byte, or false (and every later call fails too).
    bool write(QByteArrayView bytes);
    // Every byte written is on the disk; the file is not yet in place.
    bool finish();
    // finish(), then the file replaces any earlier one of its name.
    bool commit();
    // Drops what was written; an earlier file stays.
    void cancel();

    QString path() const { return file_.fileName(); }
    // The system's words for the first failure ("No space left on device").
    const QString &reason() const { return reason_; }

private:
    bool fail(const QString &systemText, const QString &fallback);

    QSaveFile file_;
    QString reason_;
    bool failed_ = false;
    bool finished_ = false;
};

// The whole of bytes as path, or nothing changed (CannotCreate with the reason).
FileResult writeFileChecked(const QString &path, QByteArrayView bytes);
