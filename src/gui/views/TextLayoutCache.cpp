// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/TextLayoutCache.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace
{

// Far more than a page shows; texts that keep changing (a clock, a counter)
// must not grow the cache without end.
constexpr int kMostEntries = 512;

// Texts drawText lays out exactly as draw() does: no characters it
// replaces or breaks lines at.
bool Plain(const QString &text)
{
    return std::none_of(text.begin(), text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return u == u'\n' || u == u'\r' || u == u'\t' || u == 0x9c || u == 0x2028 || u == 0x2029;
    });
}

bool Decorated(const QFont &font)
{
    return font.underline() || font.overline() || font.strikeOut();
}

// The flags draw() keeps layouts for.
constexpr int kKeptFlags =
    Qt::AlignLeft | Qt::AlignHCenter | Qt::AlignTop | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextWordWrap;

} // namespace

struct TextLayoutCache::Entry {
    QFont font;
    int dpi = 0;
    Qt::LayoutDirection direction = Qt::LeftToRight;
    // The box size a wrapped text was laid out for; unwrapped texts fit any.
    bool wrap = false;
    QSize box;
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

const TextLayoutCache::Entry &TextLayoutCache::entry(const QPainter &p, const QString &text, bool wrap,
                                                     const QRect &box)
{
    const QFont &font = p.font();
    const int dpi = p.device()->logicalDpiY();
    const Qt::LayoutDirection direction = p.layoutDirection();
    const QSize size = wrap ? box.size() : QSize();
    auto &list = entries_[text];
    for (const auto &e : list)
        if (e->dpi == dpi && e->direction == direction && e->wrap == wrap && e->box == size && e->font == font)
            return *e;

    if (count_ >= kMostEntries) {
        clear();
        return entry(p, text, wrap, box);
    }
    auto e = std::make_unique<Entry>();
    e->font = font;
    e->dpi = dpi;
    e->direction = direction;
    e->wrap = wrap;
    e->box = size;
    QTextOption option;
    option.setTextDirection(direction);
    e->layout.setText(text);
    e->layout.setFont(font);
    e->layout.setTextOption(option);
    e->layout.setCacheEnabled(true);
    // Lines placed as QPainter::drawText places them: on whole pixels, with
    // leading between lines and none above the first, no wrapped lines past
    // the bottom of the box (plain texts not wrapped are one line), and unless
    // wrapped no width to wrap at.
    const qreal leading = QFontMetricsF(font).leading();
    const qreal lineWidth = wrap ? std::max(0, box.width()) : 0x01000000;
    qreal height = -leading;
    e->layout.beginLayout();
    for (QTextLine line = e->layout.createLine(); line.isValid(); line = e->layout.createLine()) {
        line.setLineWidth(lineWidth);
        height = std::ceil(height + leading);
        line.setPosition(QPointF(0, height));
        height += line.ascent() + line.descent();
        e->width = std::max(e->width, line.naturalTextWidth());
        if (wrap && height >= box.height())
            break;
    }
    e->layout.endLayout();
    e->height = height;
    list.push_back(std::move(e));
    ++count_;
    return *list.back();
}

bool TextLayoutCache::keeps(const QPainter &p, const QString &text)
{
    return Plain(text) && !Decorated(p.font()) && p.layoutDirection() != Qt::RightToLeft && p.device();
}

void TextLayoutCache::drawAt(QPainter &p, const QPoint &baseline, const QString &text)
{
    if (text.isEmpty() || p.pen().style() == Qt::NoPen)
        return;
    if (!keeps(p, text)) {
        p.drawText(baseline, text);
        return;
    }
    // The line's own ascent is a whole number of 64ths of a pixel, so the
    // line's baseline lands exactly on the given one.
    const QTextLine line = entry(p, text, false, QRect()).layout.lineAt(0);
    line.draw(&p, QPointF(baseline.x(), baseline.y() - line.ascent()));
}

void TextLayoutCache::draw(QPainter &p, const QRect &box, int flags, const QString &text)
{
    if (text.isEmpty() || p.pen().style() == Qt::NoPen)
        return;
    if ((flags & ~kKeptFlags) || !keeps(p, text)) {
        p.drawText(box, flags, text);
        return;
    }
    const Entry &e = entry(p, text, flags & Qt::TextWordWrap, box);
    const QRectF r(box);
    // Centred on the unrounded height; the lines themselves lie on whole pixels.
    const qreal y = (flags & Qt::AlignVCenter) ? (r.height() - e.height) / 2 : 0;
    const bool centred = flags & Qt::AlignHCenter;
    const qreal x = centred ? (r.width() - e.width) / 2 : 0;
    const bool clip = !r.contains(QRectF(r.x() + x, r.y() + y, e.width, e.height));
    if (clip) {
        p.save();
        p.setClipRect(r, Qt::IntersectClip);
    }
    for (int i = 0; i < e.layout.lineCount(); ++i) {
        // Each line centred on its own.
        const QTextLine line = e.layout.lineAt(i);
        const qreal lineX = centred ? (r.width() - line.horizontalAdvance()) / 2 : 0;
        line.draw(&p, QPointF(r.x() + lineX, r.y() + y));
    }
    if (clip)
        p.restore();
}

namespace
{
std::vector<DrawnText> *recorder = nullptr;
} // namespace

void SetTextRecorder(std::vector<DrawnText> *r)
{
    recorder = r;
}

void DrawText(QPainter &p, const QRect &box, int flags, const QString &text, TextLayoutCache *cache)
{
    if (recorder)
        recorder->push_back({text, p.font(), box, flags, {}});
    if (cache)
        cache->draw(p, box, flags, text);
    else
        p.drawText(box, flags, text);
}

void DrawText(QPainter &p, const QPoint &baseline, const QString &text, TextLayoutCache *cache)
{
    if (recorder)
        recorder->push_back({text, p.font(), {}, 0, baseline});
    if (cache)
        cache->drawAt(p, baseline, text);
    else
        p.drawText(baseline, text);
}
