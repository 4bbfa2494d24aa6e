// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Told how a long write advances; the GUI shows a progress window, the command
// line and the tests pass nothing or a recorder.
class ProgressSink
{
public:
    virtual ~ProgressSink() = default;
    virtual void begin(int total) = 0;
    // Returns false when the user asked to stop.
    virtual bool advance(int done) = 0;
    virtual void end() = 0;
};
