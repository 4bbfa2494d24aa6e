// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/ImportFile.h"

#include "app/BoundedRead.h"
#include "import/EdfImport.h"

#include <QFileInfo>

namespace ImportFile
{

Format formatForPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("csv") || suffix == QLatin1String("txt"))
        return Format::Csv;
    if (suffix == QLatin1String("edf"))
        return Format::Edf;
    return Format::None;
}

ImportedNight read(const QString &path, const CsvImport::Options &csv)
{
    ImportedNight r;
    const Format format = formatForPath(path);
    if (format == Format::None) {
        r.error = {ImportError::NotImportable};
        return r;
    }
    const qint64 limit = format == Format::Csv ? kMaxCsvBytes : kMaxEdfBytes;
    const ImportProblem tooBig{ImportError::TooBig, limit / (1024 * 1024)};
    const QFileInfo info(path);
    if (info.isFile() && info.size() > limit) {
        r.error = tooBig;
        return r;
    }
    const BoundedRead in = readAtMost(path, limit + 1);
    if (!in.ok) {
        r.error = {ImportError::CannotRead, 0, {}, in.error};
        return r;
    }
    if (in.data.size() > limit) {
        r.error = tooBig;
        return r;
    }
    if (in.data.isEmpty()) {
        r.error = {ImportError::EmptyFile};
        return r;
    }
    return format == Format::Csv ? CsvImport::read(in.data, csv) : EdfImport::read(in.data);
}

} // namespace ImportFile
