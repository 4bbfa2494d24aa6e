// SPDX-License-Identifier: GPL-3.0-or-later
#include "texts/ArchiveTexts.h"

#include "archive/SqlArchive.h"

#include <QCoreApplication>

namespace ArchiveTexts
{
namespace
{
QString translated(const char *source)
{
    return QCoreApplication::translate("Archive", source);
}

// " (the database's words)", or nothing.
QString detailOf(const QString &detail)
{
    return detail.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(detail);
}
} // namespace

QString text(ArchiveError error, const QString &detail, const About &about)
{
    const QString &file = about.file.isEmpty() ? about.archive : about.file;
    switch (error) {
    case ArchiveError::CannotCreate:
        return translated(
                   QT_TRANSLATE_NOOP("Archive", "Cannot create %1%2: check the folder's permissions and free space."))
            .arg(file, detailOf(detail));
    case ArchiveError::Unavailable:
        return translated(QT_TRANSLATE_NOOP("Archive", "Cannot read the archive %1%2."))
            .arg(about.archive, detailOf(detail));
    case ArchiveError::Busy:
        return translated(QT_TRANSLATE_NOOP("Archive",
                                            "The archive %1 is in use by another program; try again when it has "
                                            "finished."))
            .arg(about.archive);
    case ArchiveError::Newer:
        return translated(QT_TRANSLATE_NOOP("Archive",
                                            "The archive %1 was made by a newer Quellix (archive version %2; this "
                                            "one reads up to %3). It was left unchanged: use the newer Quellix."))
            .arg(file, detail)
            .arg(SqlArchive::kSchemaVersion);
    case ArchiveError::Damaged:
        return translated(QT_TRANSLATE_NOOP("Archive",
                                            "The archive %1 is damaged and could not be replaced by a new one: "
                                            "move it away and start again. If this repeats, the disk may be "
                                            "failing."))
            .arg(about.archive);
    case ArchiveError::WriteFailed:
        return translated(QT_TRANSLATE_NOOP("Archive",
                                            "Cannot write to the archive %1%2; nothing was changed. Is the disk "
                                            "full or the file read-only?"))
            .arg(about.archive, detailOf(detail));
    case ArchiveError::NotFound:
        return translated(QT_TRANSLATE_NOOP("Archive", "There is no night %1 in the archive.")).arg(about.night);
    case ArchiveError::Corrupt:
        return translated(QT_TRANSLATE_NOOP("Archive", "Night %1 is damaged in the archive.")).arg(about.night);
    case ArchiveError::Exists:
        return translated(QT_TRANSLATE_NOOP("Archive", "%1 exists already; name a new file.")).arg(file);
    case ArchiveError::NotAnArchive:
        return translated(QT_TRANSLATE_NOOP("Archive", "%1 is not a sound Quellix archive%2."))
            .arg(file, detailOf(detail));
    case ArchiveError::CheckFailed:
        return translated(QT_TRANSLATE_NOOP("Archive", "%1 fails the check (%2).")).arg(file, detail);
    case ArchiveError::ReadOnly:
        return translated(QT_TRANSLATE_NOOP("Archive",
                                            "The archive %1 may only be read with this server account; nothing "
                                            "was changed."))
            .arg(about.archive);
    case ArchiveError::PasswordInConnection:
        return translated(QT_TRANSLATE_NOOP("Archive",
                                            "The connection string holds a password, and Quellix keeps none: "
                                            "remove it and put it in ~/.pgpass, or type it when asked."));
    case ArchiveError::PasswordNeeded:
        return translated(QT_TRANSLATE_NOOP("Archive", "The clinic server asks for a password to open the archive %1."))
            .arg(about.archive);
    case ArchiveError::BackupOnServer:
        return translated(QT_TRANSLATE_NOOP("Archive",
                                            "The archive %1 is on the clinic server: it is backed up there, with "
                                            "the server's own tools."))
            .arg(about.archive);
    }
    return {};
}

QString notOnServer(int nights)
{
    return translated(QT_TRANSLATE_NOOP("Archive", "%1 nights not yet on the server")).arg(nights);
}

QString listedFrom(bool server)
{
    return server ? translated(QT_TRANSLATE_NOOP("Archive", "The clinic server's nights"))
                  : translated(QT_TRANSLATE_NOOP("Archive", "This computer's nights"));
}

QString readOnlyAccount()
{
    return translated(QT_TRANSLATE_NOOP("Archive",
                                        "This server account may only read the archive: importing, deleting, "
                                        "editing details and marking artefacts are turned off."));
}
} // namespace ArchiveTexts
