// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Reading printed PDF files back with poppler's tools: page count and size,
// text, and pages as images to compare with the screen's picture.
#include "test_env.h"

#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdlib>

namespace pdftest
{

inline QString Run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

inline QString PdfInfo(const QString &path)
{
    return Run(QStringLiteral("pdfinfo"), {path});
}

inline int PdfPages(const QString &path)
{
    for (const QString &line : PdfInfo(path).split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

inline QString PdfText(const QString &path, int page)
{
    return Run(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                             QString::number(page), path, QStringLiteral("-")});
}

// Page `page` (1-based) of the PDF at 96 dots per inch.
inline QImage Rasterise(const QString &path, int page)
{
    const QString out = testenv::root() + QStringLiteral("/page");
    Run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page), QStringLiteral("-r"),
         QStringLiteral("96"), QStringLiteral("-png"), QStringLiteral("-singlefile"), path, out});
    return QImage(out + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

inline double MeanDifference(const QImage &a, const QImage &b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

} // namespace pdftest
