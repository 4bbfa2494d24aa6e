// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QHashFunctions>
#include <QPoint>
#include <QRect>
#include <QString>

#include <memory>
#include <unordered_map>
#include <vector>

class QPainter;

// Short texts shaped once and drawn again as they are. Shaping a short text
// costs about as much as drawing it, and a repainted page shows the same texts
// in the same fonts and boxes.
class TextLayoutCache
{
public:
    TextLayoutCache();
    ~TextLayoutCache();
    TextLayoutCache(const TextLayoutCache &) = delete;
    TextLayoutCache &operator=(const TextLayoutCache &) = delete;

    // Draws text in box to the pixels of QPainter::drawText(box, flags, text),
    // clipped to the box where it does not fit. Kept are texts at the left or
    // the centre, the top or the middle of the box, on one line or wrapped at
    // word breaks; other flags and texts that drawText treats specially (line
    // breaks, tabs, right-to-left painters, decorated fonts) are handed to
    // drawText itself.
    void draw(QPainter &p, const QRect &box, int flags, const QString &text);
    // Draws text on one line from the left end of its baseline to the pixels
    // of QPainter::drawText(baseline, text).
    void drawAt(QPainter &p, const QPoint &baseline, const QString &text);

    int size() const { return count_; }
    void clear();

private:
    struct Entry;

    // Whether the painter lays text out as kept layouts do.
    static bool keeps(const QPainter &p, const QString &text);

    // Shaped in the painter's font, resolved for its device, in the painter's
    // text direction; wrapped texts also for the box's size.
    const Entry &entry(const QPainter &p, const QString &text, bool wrap, const QRect &box);

    std::unordered_map<QString, std::vector<std::unique_ptr<Entry>>> entries_;
    int count_ = 0;
};

// p.drawText(box, flags, text) and p.drawText(baseline, text), through cache
// when there is one.
void DrawText(QPainter &p, const QRect &box, int flags, const QString &text, TextLayoutCache *cache);
void DrawText(QPainter &p, const QPoint &baseline, const QString &text, TextLayoutCache *cache);

// A text as DrawText drew it, in the painter's coordinates.
struct DrawnText {
    QString text;
    QFont font;
    QRect box; // empty for a text drawn from a baseline
    int flags = 0;
    QPoint baseline;
};
// While set, DrawText appends every text it draws. For tests that check where
// the texts of a page land; nullptr stops.
void SetTextRecorder(std::vector<DrawnText> *recorder);
