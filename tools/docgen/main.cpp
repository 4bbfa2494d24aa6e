// SPDX-License-Identifier: GPL-3.0-or-later
// Build-time helper: writes the user manuals with the pictures the views paint,
// and the application icon's PNG sizes from its SVG, for installing. Two runs
// on the same sources write the same bytes, whoever builds.
#include "PdfStamp.h"
#include "app/Language.h"
#include "app/LanguageSwitch.h"
#include "help/Manual.h"
#include "help/ManualPictures.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHashSeed>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextStream>
#include <QUrl>

namespace
{

// The sizes desktops look for in the hicolor theme.
constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256, 512};

// With SOURCE_DATE_EPOCH set, the PDF's dates and identifiers follow it.
bool stamp(const QString &file)
{
    bool ok = false;
    const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
    QFile pdf(file);
    if (!ok)
        return pdf.size() > 0;
    if (!pdf.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = pdf.readAll();
    if (!PdfStamp::apply(bytes, epoch)) {
        QTextStream(stderr) << "quellix-docgen: no date to set in " << file << "\n";
        return false;
    }
    return pdf.seek(0) && pdf.write(bytes) == bytes.size();
}

// The same page as a PDF made by Qt's own text layout, for reading offline or printing.
bool writePdf(int languageId, const QString &folder)
{
    QFile page(Manual::resource(languageId));
    if (!page.open(QIODevice::ReadOnly))
        return false;
    QTextDocument document;
    for (const QString &name : ManualPictures::names())
        document.addResource(QTextDocument::ImageResource,
                             QUrl(Manual::pictureFolder(languageId) + QLatin1Char('/') + name),
                             ManualPictures::render(name));
    document.setHtml(QString::fromUtf8(page.readAll()));
    const QString file = QStringLiteral("%1/Manual-%2.pdf").arg(folder).arg(languageId);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(document.metaInformation(QTextDocument::DocumentTitle));
    document.print(&printer);
    return stamp(file);
}

bool writeManuals(const QString &folder)
{
    // Each manual's pictures speak its language, as the program paints them.
    LanguageSwitch language;
    for (int id : {Language::English, Language::French, Language::ChineseSimplified}) {
        if (!language.apply(id) || Manual::writeTo(id, folder).isEmpty() || !writePdf(id, folder)) {
            QTextStream(stderr) << "quellix-docgen: cannot write the manual " << id << " into " << folder << "\n";
            return false;
        }
    }
    return true;
}

bool writeIcons(const QString &svg, const QString &name, const QString &folder)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        QTextStream(stderr) << "quellix-docgen: cannot read " << svg << "\n";
        return false;
    }
    for (int size : kIconSizes) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        QSaveFile out(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
        if (!QDir().mkpath(dir) || !out.open(QIODevice::WriteOnly) || !image.save(&out, "PNG") || !out.commit()) {
            QTextStream(stderr) << "quellix-docgen: cannot write the icons into " << dir << "\n";
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    // Runs inside the build, where there may be no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The builder's own settings (units, thresholds, language) and locale must
    // not reach the pictures: empty settings folders, the C locale.
    QTemporaryDir home;
    if (!home.isValid()) {
        QTextStream(stderr) << "quellix-docgen: cannot make a temporary folder\n";
        return 1;
    }
    for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(name, (home.path() + QLatin1Char('/') + QLatin1String(name)).toLocal8Bit());
    qputenv("LC_ALL", "C.UTF-8");
    qunsetenv("LANGUAGE");
    // Qt writes a PDF's fonts in hash order, which is random per process otherwise.
    QHashSeed::setDeterministicGlobalSeed();
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 5) {
        QTextStream(stderr) << "usage: quellix-docgen MANUAL_DIR ICON.svg ICON_NAME ICON_DIR\n";
        return 2;
    }
    return writeManuals(args[1]) && writeIcons(args[2], args[3], args[4]) ? 0 : 1;
}
