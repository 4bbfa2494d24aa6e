#include "Commands.h"

#include <QTextStream>

namespace {
int notYet(const char *name)
{
    QTextStream(stderr) << name << ": not available yet\n";
    return 2;
}
} // namespace

int runPorts(const QStringList &) { return notYet("ports"); }
int runDownload(const QStringList &) { return notYet("download"); }
int runSetClock(const QStringList &) { return notYet("set-clock"); }
int runDelete(const QStringList &) { return notYet("delete"); }
