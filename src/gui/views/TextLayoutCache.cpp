#include "views/TextLayoutCache.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace
{

// Far more than a page shows; texts that keep changing (a clock, a counter)
// must not grow the cache without end.
constexpr int kMostEntries = 512;

// Texts drawText lays out exactly as drawTopLeft does: no characters it
// replaces or breaks lines at.
bool Plain(const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\n' || u == u'\r' || u == u'\t' || u == 0x9c || u == 0x2028 || u == 0x2029)
            return false;
    }
    return true;
}

bool Decorated(const QFont &font)
{
    return font.underline() || font.overline() || font.strikeOut();
}

} // namespace

struct TextLayoutCache::Entry {
    QFont font;
    int dpi = 0;
    Qt::LayoutDirection direction = Qt::LeftToRight;
    QTextLayout layout;
    qreal width = 0;
    qreal height = 0;
};

TextLayoutCache::TextLayoutCache() = default;
TextLayoutCache::~TextLayoutCache() = default;

void TextLayoutCache::clear()
{
    entries_.clear();
    count_ = 0;
}

const TextLayoutCache::Entry &TextLayoutCache::entry(const QPainter &p, const QString &text)
{
    const QFont &font = p.font();
    const int dpi = p.device()->logicalDpiY();
    const Qt::LayoutDirection direction = p.layoutDirection();
    auto &list = entries_[text];
    for (const auto &e : list)
        if (e->dpi == dpi && e->direction == direction && e->font == font)
            return *e;

    if (count_ >= kMostEntries) {
        clear();
        return entry(p, text);
    }
    auto e = std::make_unique<Entry>();
    e->font = font;
    e->dpi = dpi;
    e->direction = direction;
    QTextOption option;
    option.setTextDirection(direction);
    e->layout.setText(text);
    e->layout.setFont(font);
    e->layout.setTextOption(option);
    e->layout.setCacheEnabled(true);
    // Lines placed as QPainter::drawText places them: leading between lines,
    // none above the first, and no width to wrap at.
    const qreal leading = QFontMetricsF(font).leading();
    qreal height = -leading;
    e->layout.beginLayout();
    for (QTextLine line = e->layout.createLine(); line.isValid(); line = e->layout.createLine()) {
        line.setLineWidth(0x01000000);
        height += leading;
        line.setPosition(QPointF(0, height));
        height += line.height();
        e->width = std::max(e->width, line.naturalTextWidth());
    }
    e->layout.endLayout();
    e->height = height;
    list.push_back(std::move(e));
    ++count_;
    return *list.back();
}

void TextLayoutCache::drawTopLeft(QPainter &p, const QRect &box, const QString &text)
{
    if (text.isEmpty() || p.pen().style() == Qt::NoPen)
        return;
    if (!Plain(text) || Decorated(p.font()) || p.layoutDirection() == Qt::RightToLeft || !p.device()) {
        p.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
        return;
    }
    const Entry &e = entry(p, text);
    const QRectF r(box);
    const bool clip = !r.contains(QRectF(r.x(), r.y(), e.width, e.height));
    if (clip) {
        p.save();
        p.setClipRect(r, Qt::IntersectClip);
    }
    for (int i = 0; i < e.layout.lineCount(); ++i)
        e.layout.lineAt(i).draw(&p, r.topLeft());
    if (clip)
        p.restore();
}
