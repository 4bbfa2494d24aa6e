// Build-time helper: writes the user manuals with the pictures the views paint,
// and the application icon's PNG sizes from its SVG, for installing.
#include "app/Language.h"
#include "help/Manual.h"
#include "help/ManualPictures.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QTextDocument>
#include <QTextStream>
#include <QUrl>

namespace
{

// The sizes desktops look for in the hicolor theme.
constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256, 512};

// The same page as a PDF made by Qt's own text layout, for reading offline or printing.
bool writePdf(int languageId, const QString &folder)
{
    QFile page(Manual::resource(languageId));
    if (!page.open(QIODevice::ReadOnly))
        return false;
    QTextDocument document;
    for (const QString &name : ManualPictures::names())
        document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("images/") + name),
                             ManualPictures::render(name));
    document.setHtml(QString::fromUtf8(page.readAll()));
    const QString file = QStringLiteral("%1/Manual-%2.pdf").arg(folder).arg(languageId);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(document.metaInformation(QTextDocument::DocumentTitle));
    document.print(&printer);
    return QFile(file).size() > 0;
}

bool writeManuals(const QString &folder)
{
    for (int id : {Language::English, Language::French, Language::ChineseSimplified}) {
        if (Manual::writeTo(id, folder).isEmpty() || !writePdf(id, folder)) {
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
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        QTextStream(stderr) << "usage: quellix-docgen MANUAL_DIR ICON.svg ICON_NAME ICON_DIR\n";
        return 2;
    }
    return writeManuals(args[1]) && writeIcons(args[2], args[3], args[4]) ? 0 : 1;
}
