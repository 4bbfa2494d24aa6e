// SPDX-License-Identifier: GPL-3.0-or-later
#include "PdfStamp.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QRegularExpression>

namespace PdfStamp
{

namespace
{

// Replaces every match's first group by what make() gives for it, of the same length.
template <typename Make> int replaceEach(QByteArray &pdf, const QRegularExpression &pattern, Make make)
{
    // Latin-1 maps each byte to one character, so offsets carry over.
    const QString text = QString::fromLatin1(pdf);
    int count = 0;
    for (auto it = pattern.globalMatch(text); it.hasNext(); ++count) {
        const QRegularExpressionMatch m = it.next();
        const QByteArray value = make(m).toLatin1();
        Q_ASSERT(value.size() == m.capturedLength(1));
        pdf.replace(m.capturedStart(1), value.size(), value);
    }
    return count;
}

} // namespace

bool apply(QByteArray &pdf, qint64 secondsSinceEpoch)
{
    const QDateTime when = QDateTime::fromSecsSinceEpoch(secondsSinceEpoch, Qt::UTC);
    int found = 0;

    // (D:YYYYMMDDHHmmSS then Z or +HH'mm'): UTC written the same length.
    static const QRegularExpression pdfDate(
        QStringLiteral("/(?:CreationDate|ModDate) ?\\((D:\\d{14}(?:Z|[+-]\\d\\d'\\d\\d'))\\)"));
    found += replaceEach(pdf, pdfDate, [&](const QRegularExpressionMatch &m) {
        const QString zone = m.captured(1).size() == 17 ? QStringLiteral("Z") : QStringLiteral("+00'00'");
        return QStringLiteral("D:") + when.toString(QStringLiteral("yyyyMMddHHmmss")) + zone;
    });
    static const QRegularExpression xmpDate(
        QStringLiteral("<xmp:(?:CreateDate|ModifyDate|MetadataDate)>(\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d"
                       "(?:Z|[+-]\\d\\d:\\d\\d))<"));
    found += replaceEach(pdf, xmpDate, [&](const QRegularExpressionMatch &m) {
        const QString zone = m.captured(1).endsWith(QLatin1Char('Z')) ? QStringLiteral("Z") : QStringLiteral("+00:00");
        return when.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + zone;
    });

    // Identifiers: blanked, then filled from a digest of everything else. /ID
    // holds two: the file's and its first version's, the same here.
    static const QRegularExpression uuid(
        QStringLiteral("uuid:([0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12})"));
    static const QRegularExpression idFirst(QStringLiteral("/ID ?\\[ ?<([0-9A-Fa-f]+)>"));
    static const QRegularExpression idSecond(QStringLiteral("/ID ?\\[ ?<[0-9A-Fa-f]+> ?<([0-9A-Fa-f]+)>"));
    const auto blank = [](const QRegularExpressionMatch &m) { return QString(m.capturedLength(1), QLatin1Char('0')); };
    int ids = 0;
    for (const QRegularExpression *pattern : {&uuid, &idFirst, &idSecond})
        ids += replaceEach(pdf, *pattern, blank);
    if (ids > 0) {
        const QString digest = QString::fromLatin1(QCryptographicHash::hash(pdf, QCryptographicHash::Sha256).toHex());
        replaceEach(pdf, uuid, [&](const QRegularExpressionMatch &) {
            return QStringLiteral("%1-%2-%3-%4-%5")
                .arg(digest.mid(0, 8), digest.mid(8, 4), digest.mid(12, 4), digest.mid(16, 4), digest.mid(20, 12));
        });
        const auto fill = [&](const QRegularExpressionMatch &m) {
            return digest.repeated(1 + m.capturedLength(1) / digest.size()).left(m.capturedLength(1));
        };
        replaceEach(pdf, idFirst, fill);
        replaceEach(pdf, idSecond, fill);
    }
    found += ids;
    return found > 0;
}

} // namespace PdfStamp
