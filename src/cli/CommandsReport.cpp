// SPDX-License-Identifier: GPL-3.0-or-later
#include "Commands.h"

#include "app/Language.h"
#include "app/ScriptedPrompts.h"
#include "app/Settings.h"
#include "model/RecordStore.h"
#include "model/SavedData.h"
#include "views/ReportPdf.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>
#include <QTranslator>

#include <optional>

#include <sys/stat.h>

namespace
{

constexpr QSize kSmallestView(400, 300);
constexpr QSize kLargestView(10000, 10000);

const char *const kUsage = "report IN.dat --mode trend|table|analysis OUT.pdf [--size WxH]";

std::optional<ReportMode> modeFromName(const QString &name)
{
    if (name == QLatin1String("trend"))
        return ReportMode::Trend;
    if (name == QLatin1String("table"))
        return ReportMode::Table;
    if (name == QLatin1String("analysis"))
        return ReportMode::Analysis;
    return std::nullopt;
}

std::optional<QSize> sizeFromText(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,6})x(\\d{1,6})$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QSize size(m.captured(1).toInt(), m.captured(2).toInt());
    if (size.width() < kSmallestView.width() || size.height() < kSmallestView.height() ||
        size.width() > kLargestView.width() || size.height() > kLargestView.height())
        return std::nullopt;
    return size;
}

// The same file under two names: one path, or (through links) one device and inode.
bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo fa(a);
    const QFileInfo fb(b);
    if (fa.absoluteFilePath() == fb.absoluteFilePath())
        return true;
    if (!fa.exists() || !fb.exists())
        return false;
    struct stat sa {
    };
    struct stat sb {
    };
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 || ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return fa.canonicalFilePath() == fb.canonicalFilePath();
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

} // namespace

int runReport(const QStringList &args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList files;
    std::optional<ReportMode> mode;
    QSize size = defaultReportViewSize();
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("--mode") && i + 1 < args.size()) {
            mode = modeFromName(args[++i]);
            if (!mode) {
                err << "unknown mode: " << args[i] << " (trend, table or analysis)\n";
                return 2;
            }
        } else if (a == QLatin1String("--size") && i + 1 < args.size()) {
            const std::optional<QSize> s = sizeFromText(args[++i]);
            if (!s) {
                err << "--size takes WIDTHxHEIGHT from " << kSmallestView.width() << "x" << kSmallestView.height()
                    << " to " << kLargestView.width() << "x" << kLargestView.height() << ", not " << args[i] << "\n";
                return 2;
            }
            size = *s;
        } else if (a.startsWith(QLatin1String("--"))) {
            err << "unknown option: " << a << "\n";
            err << "usage: quellix-cli " << kUsage << "\n";
            return 2;
        } else {
            files.append(a);
        }
    }
    if (files.size() != 2 || !mode) {
        err << "usage: quellix-cli " << kUsage << "\n";
        return 2;
    }
    if (!files[1].endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
        err << "the report must be a file ending in .pdf: " << files[1] << "\n";
        return 2;
    }
    if (sameFile(files[0], files[1])) {
        err << "the report would replace its own recording: " << files[1] << "\n";
        return 2;
    }

    // The pages speak the stored language, as they do when printed from the window.
    QTranslator translator;
    const Language::Loaded language =
        Language::load(Settings().language(), QLocale::system().uiLanguages(), translator);
    if (language.translated)
        QCoreApplication::installTranslator(&translator);
    QLocale::setDefault(Language::localeFor(language.languageId, QLocale::system()));

    RecordStore store;
    ScriptedPrompts prompts;
    if (const FileResult opened = SavedData::open(store, files[0], prompts); !opened) {
        err << "can't open the file\n" << opened.detail() << "\n";
        return 1;
    }
    // An ID without stored patient details is the normal case after a download:
    // the report simply has blank details, which is nothing to warn about.
    const QString noDetails = QCoreApplication::translate("RecordStore", "Get patient info error!");
    for (const QString &text : prompts.shown)
        if (text != noDetails)
            err << "note: " << text << "\n";

    const ReportPdfResult r = writeReportPdf(store, *mode, size, files[1]);
    if (r.status != ReportPdfResult::Status::Written) {
        err << "report: " << r.error << "\n";
        return 1;
    }
    out << files[1] << ": " << r.pages << (r.pages == 1 ? " page" : " pages") << "\n";
    return 0;
}
