// SPDX-License-Identifier: GPL-3.0-or-later
// Kept text layouts: the same pixels as QPainter::drawText, whatever font,
// device or box the kept text meets next.
#include "views/TextLayoutCache.h"

#include <QFont>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>

namespace
{

constexpr int kTopLeft = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;

// A white image of size painted by paint, with dpi dots per inch.
QImage Paint(QSize size, int dpi, const std::function<void(QPainter &)> &paint)
{
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter p(&image);
    paint(p);
    return image;
}

QFont Font(int pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QFont PointFont(int points)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(points);
    return font;
}

int DarkPixels(const QImage &image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += qGray(image.pixel(x, y)) < 128;
    return n;
}

} // namespace

TEST(TextLayoutCache, DrawsWhatDrawTextDrawsInEveryFontAndBox)
{
    TextLayoutCache cache;
    const QString texts[] = {QStringLiteral("Avg.Event Dur.(Sec)"),
                             QStringLiteral("SpO2  >  94         120"),
                             QStringLiteral("  spaced  "),
                             QString::fromUtf8("\xe5\xb9\xb3\xe5\x9d\x87 SpO2"),
                             QStringLiteral("W"),
                             QStringLiteral("Desaturation Event: drop in SpO2 by at least 4% for 10 seconds")};
    // Boxes the text fits, boxes too narrow or too low (clipped), odd and even
    // heights (a centred line then lies on a half pixel), and a tiny box.
    const QRect boxes[] = {{10, 10, 400, 20}, {10, 10, 30, 20}, {13, 7, 400, 6},
                           {4, 3, 150, 15},   {4, 3, 90, 45},   {0, 0, 3, 3}};
    const int flagSets[] = {kTopLeft, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                            Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, Qt::AlignCenter | Qt::TextSingleLine,
                            Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap};
    // 1:1, and stretched as a preview or a printer stretches the page.
    const QTransform transforms[] = {QTransform(), QTransform::fromScale(0.5, 0.5), QTransform::fromScale(1.7, 1.3)};
    for (const QTransform &t : transforms)
        for (int flags : flagSets)
            for (const QFont &font : {Font(13), Font(13, true), Font(9), PointFont(10)})
                for (const QString &text : texts)
                    for (const QRect &box : boxes) {
                        auto paint = [&](bool kept) {
                            return Paint({720, 80}, 96, [&](QPainter &p) {
                                p.setTransform(t);
                                p.setFont(font);
                                if (kept)
                                    cache.draw(p, box, flags, text);
                                else
                                    p.drawText(box, flags, text);
                            });
                        };
                        const QImage want = paint(false);
                        // Twice: once shaping, once from the kept layout.
                        for (int pass = 0; pass < 2; ++pass)
                            ASSERT_EQ(paint(true), want)
                                << text.toStdString() << " in " << font.toString().toStdString() << " flags " << flags
                                << " at " << box.x() << "," << box.y() << " " << box.width() << "x" << box.height()
                                << " scale " << t.m11() << " pass " << pass;
                    }
    // Texts placed by their baseline, the point drawText(QPoint) takes.
    for (const QTransform &t : transforms)
        for (const QFont &font : {Font(13), Font(9, true), PointFont(10)})
            for (const QString &text : texts)
                for (const QPoint at : {QPoint(10, 20), QPoint(3, 11), QPoint(0, 0)}) {
                    auto paint = [&](bool kept) {
                        return Paint({720, 80}, 96, [&](QPainter &p) {
                            p.setTransform(t);
                            p.setFont(font);
                            if (kept)
                                cache.drawAt(p, at, text);
                            else
                                p.drawText(at, text);
                        });
                    };
                    ASSERT_EQ(paint(true), paint(false))
                        << text.toStdString() << " in " << font.toString().toStdString() << " at " << at.x() << ","
                        << at.y() << " scale " << t.m11();
                }
    cache.clear();
    for (const QFont &font : {Font(13), Font(13, true), Font(9), PointFont(10)})
        for (const QString &text : texts)
            for (const QRect &box : boxes)
                for (int flags : flagSets)
                    Paint({720, 80}, 96, [&](QPainter &p) {
                        p.setFont(font);
                        cache.draw(p, box, flags, text);
                    });

    // One layout per text and font, whatever the box and alignment, unless
    // wrapped: then one per box size too.
    EXPECT_EQ(cache.size(), 4 * 6 + 4 * 6 * 6);

    // The same text in the same point font on a device of another resolution
    // is another size on its pixels: the kept 96 dpi layout must not serve it.
    const QString text = QStringLiteral("Event Data");
    for (int dpi : {96, 300, 96}) {
        const QImage want = Paint({420, 80}, dpi, [&](QPainter &p) {
            p.setFont(PointFont(10));
            p.drawText(QRect(0, 0, 420, 80), kTopLeft, text);
        });
        const QImage got = Paint({420, 80}, dpi, [&](QPainter &p) {
            p.setFont(PointFont(10));
            cache.draw(p, QRect(0, 0, 420, 80), kTopLeft, text);
        });
        EXPECT_EQ(got, want) << dpi;
    }
    EXPECT_GT(DarkPixels(Paint({420, 80}, 300,
                               [&](QPainter &p) {
                                   p.setFont(PointFont(10));
                                   cache.draw(p, QRect(0, 0, 420, 80), kTopLeft, text);
                               })),
              DarkPixels(Paint({420, 80}, 96, [&](QPainter &p) {
                  p.setFont(PointFont(10));
                  cache.draw(p, QRect(0, 0, 420, 80), kTopLeft, text);
              })));
}

TEST(TextLayoutCache, LeavesOddTextsToDrawTextAndStaysSmall)
{
    TextLayoutCache cache;
    // Line breaks and tabs, which drawText turns into spaces; an invisible pen;
    // a right-to-left painter, which aligns to the right edge.
    struct Case {
        QString text;
        Qt::LayoutDirection direction;
        bool pen;
    };
    const Case cases[] = {{QStringLiteral("two\nlines"), Qt::LeftToRight, true},
                          {QStringLiteral("tab\there"), Qt::LeftToRight, true},
                          {QStringLiteral("no pen"), Qt::LeftToRight, false},
                          {QStringLiteral("right to left"), Qt::RightToLeft, true}};
    for (const Case &c : cases) {
        auto paint = [&](bool kept) {
            return Paint({300, 30}, 96, [&](QPainter &p) {
                p.setFont(Font(13));
                p.setLayoutDirection(c.direction);
                if (!c.pen)
                    p.setPen(Qt::NoPen);
                if (kept)
                    cache.draw(p, QRect(5, 5, 290, 20), kTopLeft, c.text);
                else
                    p.drawText(QRect(5, 5, 290, 20), kTopLeft, c.text);
            });
        };
        EXPECT_EQ(paint(true), paint(false)) << c.text.toStdString();
    }

    // Texts that never repeat (a running clock) do not pile up.
    QImage image(200, 20, QImage::Format_RGB32);
    QPainter p(&image);
    p.setFont(Font(9));
    for (int i = 0; i < 2000; ++i)
        cache.draw(p, QRect(0, 0, 200, 20), kTopLeft, QString::number(i));
    EXPECT_LE(cache.size(), 512);
    EXPECT_GT(cache.size(), 0);
}
