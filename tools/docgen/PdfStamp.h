// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// Qt writes the time of writing into a PDF (/CreationDate, the XMP dates) and
// a fresh /ID, with no setting for either. For a reproducible build these are
// rewritten in place from SOURCE_DATE_EPOCH: each field keeps its length, so
// the cross-reference offsets stay right, and the identifiers become a digest
// of the rest of the file.
namespace PdfStamp
{

// Rewrites pdf for the time secondsSinceEpoch (UTC); false when no field was found.
bool apply(QByteArray &pdf, qint64 secondsSinceEpoch);

} // namespace PdfStamp
