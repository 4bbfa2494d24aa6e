// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/ViewFonts.h"

#include <QFontMetrics>
#include <QHash>

QFont ViewFont(int cellHeight, bool bold, bool italic)
{
    // Metrics depend only on the face and the three parameters; measuring is
    // slow enough to be worth remembering between views.
    static QHash<int, int> pixelSizes;
    const int key = cellHeight * 4 + (bold ? 2 : 0) + (italic ? 1 : 0);

    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(bold);
    font.setItalic(italic);

    auto it = pixelSizes.constFind(key);
    if (it != pixelSizes.constEnd()) {
        font.setPixelSize(*it);
        return font;
    }
    int size = cellHeight;
    for (; size > 1; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).height() <= cellHeight)
            break;
    }
    font.setPixelSize(size);
    pixelSizes.insert(key, size);
    return font;
}
