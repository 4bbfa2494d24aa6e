// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Settings.h"
#include "model/DatFile.h"
#include "model/EightBitText.h"
#include "test_env.h"
#include "test_samples.h"

#include <QFile>

#include <gtest/gtest.h>

namespace
{

using EightBitText::CodePage;

TEST(EightBitText, EveryByteDecodesInTheLanguagesCodePage)
{
    EXPECT_EQ(EightBitText::codePageFor(1033), CodePage::Windows1252);
    EXPECT_EQ(EightBitText::codePageFor(1036), CodePage::Windows1252);
    EXPECT_EQ(EightBitText::codePageFor(2052), CodePage::Gbk);

    const struct {
        CodePage page;
        QByteArray bytes;
        QString text;
    } cases[] = {
        {CodePage::Windows1252, "Caf\xe9 \x80\x9f\xff", QStringLiteral("Caf\u00e9 \u20ac\u0178\u00ff")},
        // Undefined in 1252; Windows keeps them as the C1 controls of the same value.
        {CodePage::Windows1252, "\x81\x8d\x8f\x90\x9d", QStringLiteral("\u0081\u008d\u008f\u0090\u009d")},
        {CodePage::Gbk, "\xc4\xe3\xba\xc3 A", QStringLiteral("\u4f60\u597d A")},
        {CodePage::Gbk, "\x80", QStringLiteral("\u20ac")},
        // A lead byte without a valid second byte, inside and at the end.
        {CodePage::Gbk, "\x81 \xc4", QStringLiteral("\u0081 \u00c4")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(EightBitText::decode(c.bytes, c.page), c.text) << c.bytes.toHex().toStdString();

    QByteArray all(256, '\0');
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    for (CodePage page : {CodePage::Windows1252, CodePage::Gbk}) {
        const QString text = EightBitText::decode(all, page);
        EXPECT_FALSE(text.contains(QChar(0xFFFD))) << int(page);
        if (page == CodePage::Windows1252) {
            EXPECT_EQ(text.size(), 256);
        }
    }
}

// A title written without the wide marker, under the language's code page.
QString openedTitle(const QByteArray &narrowTitle, const QString &language, const QString &resaved = {})
{
    EXPECT_TRUE(WriteSetupValue(QStringLiteral("Language"), language));
    const SampleRecord s = testdata::Reading(4, 0);
    QByteArray bytes = DatFile::encode(4, &s, 1, QString());
    bytes.chop(4); // the empty wide title
    bytes += char(narrowTitle.size()) + narrowTitle;
    const QString path = testenv::root() + QStringLiteral("/narrow.dat");
    EXPECT_TRUE(DatFile::write(path, bytes));
    const DatFile::ReadResult r = DatFile::read(path);
    EXPECT_TRUE(r.ok) << r.failedCheck.toStdString();
    if (!resaved.isEmpty()) {
        EXPECT_TRUE(DatFile::writeRecording(resaved, 4, &s, 1, r.contents.title).ok);
        const DatFile::ReadResult again = DatFile::read(resaved);
        EXPECT_EQ(again.contents.title, r.contents.title);
    }
    return r.contents.title;
}

TEST(EightBitText, NarrowTitlesFollowTheProgramsLanguageNotTheLocale)
{
    const QString resaved = testenv::root() + QStringLiteral("/resaved.dat");
    EXPECT_EQ(openedTitle("Caf\xe9", QStringLiteral("1033"), resaved), QStringLiteral("Caf\u00e9"));
    // Saved again as wide text: the same four characters, é as U+00E9.
    QFile f(resaved);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().endsWith(QByteArray("\xff\xfe\xff\x04"
                                                "C\0a\0f\0\xe9\0",
                                                12)));

    EXPECT_EQ(openedTitle("\xc4\xe3\xba\xc3", QStringLiteral("2052")), QStringLiteral("\u4f60\u597d"));
    EXPECT_EQ(openedTitle("\xc4\xe3\xba\xc3", QStringLiteral("1036")), QStringLiteral("\u00c4\u00e3\u00ba\u00c3"));
}

} // namespace
