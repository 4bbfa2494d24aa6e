// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the archive commands share: options, opening the archive, a night's words.
#include "archive/SqliteArchive.h"

#include <QJsonObject>
#include <QStringList>
#include <QTextStream>

#include <memory>

// Takes "--name VALUE" out of args; false when the value is missing.
bool takeOption(QStringList &args, const QString &name, QString *value);

// The archive at path, or nullptr with the reason told on err.
std::unique_ptr<SqliteArchive> openArchive(const QString &path, QTextStream &err, bool *wasDamaged = nullptr);

// The night's patient: its name, or its ID when it has none.
QString patientText(const NightInfo &n);

// A listing row with the summary keys of `analyze --json`.
QJsonObject nightJson(const NightInfo &n);
