// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/ArchiveError.h"

#include <QString>

// The words of the archive's failures, translated through Qt (context "Archive").
namespace ArchiveTexts
{
// What an operation was about; each sentence names the part it concerns.
struct About {
    QString archive; // the archive file
    QString file;    // the other file of a copy or a restore, when there is one
    qint64 night = 0;
};

QString text(ArchiveError error, const QString &detail, const About &about);

// "N nights not yet on the server".
QString notOnServer(int nights);
// Which nights a list shows: the clinic server's, or this computer's.
QString listedFrom(bool server);
// Why importing, deleting, editing details and marking artefacts are off.
QString readOnlyAccount();

template <typename T> QString text(const Result<T, ArchiveError> &failed, const About &about)
{
    return text(failed.error(), failed.detail(), about);
}
} // namespace ArchiveTexts
