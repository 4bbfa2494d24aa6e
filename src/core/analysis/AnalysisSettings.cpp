#include "analysis/AnalysisSettings.h"

#include "app/Settings.h"

AnalysisSettings AnalysisSettings::stored()
{
    AnalysisSettings s;
    s.saturationsHigh = ReadSetupInt(QStringLiteral("SaturationsHigh"), SetupDefaults::SaturationsHigh);
    s.saturationsLow = ReadSetupInt(QStringLiteral("SaturationsLow"), SetupDefaults::SaturationsLow);
    s.prHigh = ReadSetupInt(QStringLiteral("PrHigh"), SetupDefaults::PrHigh);
    s.prLow = ReadSetupInt(QStringLiteral("PrLow"), SetupDefaults::PrLow);
    s.desaturationsEvent = ReadSetupInt(QStringLiteral("DesaturationsEvent"), SetupDefaults::DesaturationsEvent);
    s.pulseEvent = ReadSetupInt(QStringLiteral("PulseEvent"), SetupDefaults::PulseEvent);
    return s;
}

void AnalysisSettings::store() const
{
    WriteSetupValue(QStringLiteral("SaturationsHigh"), QString::number(saturationsHigh));
    WriteSetupValue(QStringLiteral("SaturationsLow"), QString::number(saturationsLow));
    WriteSetupValue(QStringLiteral("PrHigh"), QString::number(prHigh));
    WriteSetupValue(QStringLiteral("PrLow"), QString::number(prLow));
    WriteSetupValue(QStringLiteral("DesaturationsEvent"), QString::number(desaturationsEvent));
    WriteSetupValue(QStringLiteral("PulseEvent"), QString::number(pulseEvent));
}
