// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QTextLayout>

// Glyphs of text that no font has: glyph index 0 is the "missing glyph" box of
// every font, after the fallback fonts have been tried.
inline int MissingGlyphs(const QString &text, const QFont &font)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    int missing = 0;
    for (const QGlyphRun &run : layout.glyphRuns())
        for (quint32 g : run.glyphIndexes())
            missing += g == 0 ? 1 : 0;
    return missing;
}
