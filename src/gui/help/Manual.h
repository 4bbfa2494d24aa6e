// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The user manual: one HTML page per language, embedded in the program, with
// pictures under "images/LANGUAGE/" that ManualPictures paints.
namespace Manual
{

// The embedded page of a language number (1033, 1036, 2052).
QString resource(int languageId);

// Whether the program carries the manual of that language.
bool exists(int languageId);

// The folder a language's page takes its pictures from, relative to the page:
// each language shows its own texts, so the manuals share none.
QString pictureFolder(int languageId);

// Writes the manual of a language with its pictures into folder, for a browser
// or for installing; returns the page's path, empty when anything failed. The
// pictures are painted in the current language: switch to languageId first.
QString writeTo(int languageId, const QString &folder);

} // namespace Manual
