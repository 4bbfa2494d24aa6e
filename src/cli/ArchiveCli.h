// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the archive commands share: options, opening the archive, a night's words.
#include "archive/ClinicArchive.h"

#include <QJsonObject>
#include <QStringList>
#include <QTextStream>

#include <memory>

// Takes "--name VALUE" out of args; false when the value is missing.
bool takeOption(QStringList &args, const QString &name, QString *value);

// The archive at path, with the clinic server of that connection string when
// it is not empty, or nullptr with the reason told on err.
std::unique_ptr<ClinicArchive> openArchive(const QString &path, const QString &server, QTextStream &err,
                                           bool *wasDamaged = nullptr);

// Tells on err why the clinic server is not in use, and how much waits for it.
void tellServer(ClinicArchive &archive, QTextStream &err);

// The night's patient: its name, or its ID when it has none.
QString patientText(const NightInfo &n);

// A listing row with the summary keys of `analyze --json`.
QJsonObject nightJson(const NightInfo &n);
