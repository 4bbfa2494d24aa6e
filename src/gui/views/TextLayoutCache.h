#pragma once

#include <QFont>
#include <QHashFunctions>
#include <QString>

#include <memory>
#include <unordered_map>
#include <vector>

class QPainter;
class QRect;
class QTextLayout;

// Single-line texts shaped once and drawn again as they are. Shaping a short
// text costs about as much as drawing it, and a repainted page shows the same
// texts in the same fonts.
class TextLayoutCache
{
public:
    TextLayoutCache();
    ~TextLayoutCache();
    TextLayoutCache(const TextLayoutCache &) = delete;
    TextLayoutCache &operator=(const TextLayoutCache &) = delete;

    // Draws text from the top-left corner of box on one line, clipped to the
    // box where it does not fit, to the pixels of QPainter::drawText(box,
    // Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text). Texts that
    // layout treats otherwise (line breaks, tabs, right-to-left painters,
    // decorated fonts) are handed to drawText itself.
    void drawTopLeft(QPainter &p, const QRect &box, const QString &text);

    int size() const { return count_; }
    void clear();

private:
    struct Entry;

    // Shaped in the painter's font, resolved for its device, in the painter's
    // text direction.
    const Entry &entry(const QPainter &p, const QString &text);

    std::unordered_map<QString, std::vector<std::unique_ptr<Entry>>> entries_;
    int count_ = 0;
};
