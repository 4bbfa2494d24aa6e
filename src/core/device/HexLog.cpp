#include "device/HexLog.h"

#include "device/Protocol.h"

HexLog::HexLog(const QString &path)
    : m_file(path)
{
    m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
    m_clock.start();
}

void HexLog::line(char direction, const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    std::lock_guard lock(m_mutex);
    if (!m_file.isOpen())
        return;
    const QString text = QStringLiteral("%1 %2 %3\n")
                             .arg(double(m_clock.nsecsElapsed()) / 1e9, 10, 'f', 3)
                             .arg(QLatin1Char(direction))
                             .arg(Protocol::HexBytes(bytes));
    m_file.write(text.toLatin1());
    m_file.flush();
}

void HexLog::note(const QString &text)
{
    std::lock_guard lock(m_mutex);
    if (!m_file.isOpen())
        return;
    m_file.write(QStringLiteral("%1 # %2\n").arg(double(m_clock.nsecsElapsed()) / 1e9, 10, 'f', 3).arg(text).toUtf8());
    m_file.flush();
}
