#include "app/Settings.h"

#include "app/SettingsFile.h"

namespace
{
constexpr int kMaxStringChars = 9; // 20 bytes of UTF-16 with the terminator

QVariant stored(const QString &name)
{
    return SettingsFile::readValue(QStringLiteral("setup"), name);
}
} // namespace

int LeadingNumber(const QString &text)
{
    qint64 value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            break;
        value = value * 10 + (c.unicode() - u'0');
        if (value > 0xFFFFFFFFLL)
            value %= 0x100000000LL; // a DWORD keeps its low 32 bits
    }
    return int(std::uint32_t(value));
}

int ReadSetupInt(const QString &name, int defaultValue)
{
    const QVariant v = stored(name);
    if (!v.isValid())
        return defaultValue;
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    return ok ? int(std::uint32_t(n)) : defaultValue;
}

std::optional<QString> ReadSetupString(const QString &name)
{
    const QVariant v = stored(name);
    if (!v.isValid())
        return std::nullopt;
    const QString text = v.toString();
    if (text.size() > kMaxStringChars)
        return std::nullopt;
    return text;
}

bool WriteSetupValue(const QString &name, const QString &text)
{
    const QVariant value = name == QLatin1String("DefaultCOM") ? QVariant(text) : QVariant(LeadingNumber(text));
    return SettingsFile::writeValue(QStringLiteral("setup"), name, value);
}
