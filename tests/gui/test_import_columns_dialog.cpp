// SPDX-License-Identifier: GPL-3.0-or-later
// The column dialog for a CSV file whose header is not understood.
#include "dialogs/ImportColumnsDialog.h"

#include "app/Settings.h"
#include "app/SettingsFile.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace
{

void choose(ImportColumnsDialog &d, int column, ImportColumnsDialog::Role role)
{
    QComboBox *box = d.roleBox(column);
    box->setCurrentIndex(box->findData(role));
}

TEST(ImportColumnsDialog, ChoicesPlaceTheColumnsAndCountTheRows)
{
    QByteArray file = "Puls;Zeitpunkt;Saettigung;Notiz\n";
    for (int i = 0; i < 30; ++i)
        file += "6" + QByteArray::number(i % 10) + ";05/11/2025 22:00:" + QByteArray::number(i).rightJustified(2, '0') +
                ";" + (i == 7 ? QByteArray("x") : QByteArray::number(90 + i % 10)) + ";\n";
    ImportColumnsDialog d(file);
    // The header and the first 19 rows under the row of choices.
    ASSERT_EQ(d.table()->rowCount(), 1 + ImportColumnsDialog::kPreviewRows);
    ASSERT_EQ(d.table()->columnCount(), 4);
    EXPECT_EQ(d.table()->item(1, 1)->text(), QStringLiteral("Zeitpunkt"));
    EXPECT_EQ(d.table()->item(2, 1)->text(), QStringLiteral("05/11/2025 22:00:00"));
    EXPECT_FALSE(d.okButton()->isEnabled());

    choose(d, 0, ImportColumnsDialog::Pulse);
    choose(d, 2, ImportColumnsDialog::Spo2);
    EXPECT_FALSE(d.okButton()->isEnabled()) << "no time column yet";
    // The time column alone cannot tell day from month: no guess, no reading.
    choose(d, 1, ImportColumnsDialog::Time);
    EXPECT_TRUE(d.pattern()->text().isEmpty());
    EXPECT_FALSE(d.okButton()->isEnabled());
    EXPECT_TRUE(d.count()->text().contains(QLatin1String("day or month"))) << d.count()->text().toStdString();

    d.pattern()->setText(QStringLiteral("MM/dd/yyyy HH:mm:ss"));
    EXPECT_TRUE(d.okButton()->isEnabled());
    EXPECT_EQ(d.count()->text(), QStringLiteral("29 rows read, 1 refused: line 9: SpO2 'x' is not a reading"));
    const CsvImport::Options o = d.options();
    ASSERT_TRUE(o.columns);
    EXPECT_EQ(*o.columns, (CsvImport::Columns{1, -1, 2, 0}));
    EXPECT_EQ(d.result().readings.front().month, 5);
    EXPECT_EQ(d.result().readings.front().pulseRate, 60);
}

TEST(ImportColumnsDialog, DetectedPatternIsTheFirstGuess)
{
    ImportColumnsDialog d("a,b,c\n2026-03-14 22:30:00,95,60\n2026-03-14 22:30:01,96,61\n");
    choose(d, 0, ImportColumnsDialog::Time);
    choose(d, 1, ImportColumnsDialog::Spo2);
    EXPECT_EQ(d.pattern()->text(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    EXPECT_EQ(d.count()->text(), QStringLiteral("2 rows read, 0 refused"));
    EXPECT_TRUE(d.okButton()->isEnabled());
}

QByteArray germanNight(const QByteArray &header, int rows)
{
    QByteArray file = header + "\n";
    for (int i = 0; i < rows; ++i)
        file += "6" + QByteArray::number(i % 10) + ";05/11/2025 22:01:" + QByteArray::number(i).rightJustified(2, '0') +
                ";9" + QByteArray::number(i % 10) + ";\n";
    return file;
}

TEST(ImportColumnsDialog, ChoiceIsOfferedAgainForTheSameHeaderLine)
{
    {
        ImportColumnsDialog first(germanNight("Puls;Zeitpunkt;Saettigung;Notiz", 5));
        choose(first, 0, ImportColumnsDialog::Pulse);
        choose(first, 1, ImportColumnsDialog::Time);
        choose(first, 2, ImportColumnsDialog::Spo2);
        first.pattern()->setText(QStringLiteral("MM/dd/yyyy HH:mm:ss"));
        first.accept();
    }
    ASSERT_TRUE(QFile::exists(SettingsFile::path(QStringLiteral("setup"))));

    // Another separator, quotes, spaces and letter case: the same header line.
    ImportColumnsDialog again(germanNight("\"Puls\", ZEITPUNKT ,Saettigung,Notiz", 7).replace(';', ','));
    EXPECT_EQ(again.roleBox(0)->currentData().toInt(), ImportColumnsDialog::Pulse);
    EXPECT_EQ(again.roleBox(1)->currentData().toInt(), ImportColumnsDialog::Time);
    EXPECT_EQ(again.roleBox(2)->currentData().toInt(), ImportColumnsDialog::Spo2);
    EXPECT_EQ(again.roleBox(3)->currentData().toInt(), ImportColumnsDialog::Ignore);
    EXPECT_EQ(again.pattern()->text(), QStringLiteral("MM/dd/yyyy HH:mm:ss"));
    EXPECT_EQ(again.count()->text(), QStringLiteral("7 rows read, 0 refused"));
    EXPECT_TRUE(again.okButton()->isEnabled());
    ASSERT_FALSE(again.result().readings.empty());
    EXPECT_EQ(again.result().readings.front().month, 5);

    // Another header line, even one that begins alike, has no choice yet.
    for (const QByteArray &header :
         {QByteArray("Puls;Zeitpunkt;Saettigung"), QByteArray("Puls;Zeit;Saettigung;Notiz")}) {
        ImportColumnsDialog other(germanNight(header, 3));
        for (int c = 0; c < other.table()->columnCount(); ++c)
            EXPECT_EQ(other.roleBox(c)->currentData().toInt(), ImportColumnsDialog::Ignore) << header.constData();
        EXPECT_TRUE(other.pattern()->text().isEmpty()) << header.constData();
        // Cancelled: nothing is remembered.
        choose(other, 1, ImportColumnsDialog::Time);
        choose(other, 0, ImportColumnsDialog::Pulse);
        other.pattern()->setText(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
        other.reject();
        EXPECT_FALSE(Settings().csvColumns(CsvImport::headerLine(germanNight(header, 0)))) << header.constData();
    }
}

} // namespace
