// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/EightBitText.h"

#include "app/Language.h"
#include "app/Settings.h"

#include <QLocale>
#include <QStringDecoder>

namespace EightBitText
{

CodePage codePageFor(int languageId)
{
    return languageId == Language::ChineseSimplified ? CodePage::Gbk : CodePage::Windows1252;
}

CodePage programCodePage()
{
    return codePageFor(Language::resolve(Settings().language(), QLocale::system().uiLanguages()));
}

QString decode(QByteArrayView bytes, CodePage page)
{
    // Qt's ICU converters; their Windows tables map all 256 bytes of 1252.
    QStringDecoder decoder(page == CodePage::Gbk ? "GBK" : "windows-1252", QStringConverter::Flag::Stateless);
    QString out;
    out.reserve(bytes.size());
    // One character at a time, so a bad byte spoils only itself.
    const auto one = [&decoder](QByteArrayView b) -> QChar {
        if (!decoder.isValid())
            return QChar(0xFFFD);
        const QString s = decoder.decode(b);
        return s.size() == 1 ? s.front() : QChar(0xFFFD);
    };
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = quint8(bytes[i]);
        if (b < 0x80) {
            out += QChar(b);
            continue;
        }
        if (page == CodePage::Gbk && b >= 0x81 && b <= 0xFE && i + 1 < bytes.size()) {
            const QChar pair = one(bytes.sliced(i, 2));
            if (pair != QChar(0xFFFD)) {
                out += pair;
                ++i;
                continue;
            }
        }
        const QChar single = one(bytes.sliced(i, 1));
        out += single != QChar(0xFFFD) ? single : QChar(b);
    }
    return out;
}

} // namespace EightBitText
