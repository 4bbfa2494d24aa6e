// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// Each command takes the arguments after its name and returns the exit code.
int runInfo(const QStringList &args);
int runExport(const QStringList &args);
int runSettings(const QStringList &args);
int runPorts(const QStringList &args);
int runDownload(const QStringList &args);
int runSetClock(const QStringList &args);
int runDelete(const QStringList &arguments);
// Needs a QApplication (it paints with the views).
int runReport(const QStringList &args);
int runAnalyze(const QStringList &args);
int runEvents(const QStringList &args);
// The night archive: list, import, export, remove, backup, restore, check.
int runArchive(const QStringList &arguments);
// One patient's nights side by side, from the archive; needs a QApplication for OUT.pdf.
int runOverview(const QStringList &arguments);
