// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// Only one copy of Quellix runs per user. The lock is a file in the user's
// runtime folder holding the owner's process ID, so a copy that crashed leaves
// a stale lock that the next start takes over.
class SingleInstance
{
public:
    SingleInstance();
    ~SingleInstance();

    // True when this process now holds the lock (or already did).
    bool acquire();

    static QString lockPath();

private:
    std::unique_ptr<QLockFile> lock_;
    bool held_ = false;
};
