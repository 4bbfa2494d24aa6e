#include "Commands.h"

#include <QTextStream>

int runInfo(const QStringList &)
{
    QTextStream(stderr) << "info: not available yet\n";
    return 2;
}

int runSettings(const QStringList &)
{
    QTextStream(stderr) << "settings: not available yet\n";
    return 2;
}
