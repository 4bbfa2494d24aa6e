// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/TextExport.h"
#include "export/XlsExport.h"
#include "model/PatientRecord.h"
#include "model/Units.h"
#include "test_env.h"
#include "test_files.h"

#include <QDir>
#include <QFile>

#include "test_samples.h"

#include <freexl.h>
#include <gtest/gtest.h>

#include <memory>

namespace
{

using namespace testfiles;

SampleRecord july2010()
{
    SampleRecord s = testdata::Reading(3, 3, 97, 64);
    s.year = 10;
    s.month = 7;
    s.day = 21;
    s.hour = 9;
    s.minute = 5;
    return s;
}

// Saved in British units: 70 in and 154 lb.
PatientRecord patient()
{
    PatientRecord p;
    p.idNumber = 3;
    PatientRecord::setText(p.name, QString::fromUtf8("Zo\u00e9 \u5f20\u4f1f"));
    p.gender = 1;
    p.age = 54;
    p.height = 70;
    p.weight = 154;
    p.unitSystem = 0;
    return p;
}

std::vector<SampleRecord> readings(int count)
{
    std::vector<SampleRecord> v(std::size_t(count), testdata::Reading(3, 0));
    for (int i = 0; i < count; ++i) {
        v[std::size_t(i)].second = std::uint8_t(i % 60);
        v[std::size_t(i)].minute = std::uint8_t(i / 60 % 60);
        v[std::size_t(i)].spo2 = std::uint8_t(70 + i % 31);
        v[std::size_t(i)].pulseRate = std::uint8_t(30 + i % 200);
    }
    return v;
}

// Stops the export at its first report.
class StoppingSink : public ProgressSink
{
public:
    void begin(int total) override { this->total = total; }
    bool advance(int done) override
    {
        last = done;
        return false;
    }
    void end() override { ended = true; }
    int total = -1;
    int last = -1;
    bool ended = false;
};

class RecordingSink : public ProgressSink
{
public:
    void begin(int total) override { this->total = total; }
    bool advance(int done) override
    {
        EXPECT_GE(done, last);
        last = done;
        ++reports;
        return true;
    }
    void end() override { ended = true; }
    int total = -1;
    int last = 0;
    int reports = 0;
    bool ended = false;
};

// ---- text ----

TEST(TextExport, ThreeReadingsFollowTheEightLinePatientBlock)
{
    std::vector<SampleRecord> three = {july2010(), july2010(), july2010()};
    three[1].second = 4;
    three[2].second = 5;
    three[2].spo2 = 100;
    three[2].pulseRate = 255;
    const QString path = tempPath(QStringLiteral("three.txt"));
    ASSERT_TRUE(TextExport::write(path, patient(), three, 1));

    const QByteArray expected = QString::fromUtf8("PatId\tName :\r\n"
                                                  "3\tZo\u00e9 \u5f20\u4f1f\r\n"
                                                  "\r\n"
                                                  "Gender : \tAge : \tHeight : \tWeight : \r\n"
                                                  "female\t54\t178 cm\t70 kg\r\n"
                                                  "\r\n"
                                                  "\r\n"
                                                  "Date&Time\t\t\t\tSpO2\t\tPR\r\n"
                                                  "2010/07/21 09:05:03\t\t\t97\t\t64\r\n"
                                                  "2010/07/21 09:05:04\t\t\t97\t\t64\r\n"
                                                  "2010/07/21 09:05:05\t\t\t100\t\t255\r\n")
                                    .toUtf8();
    const QByteArray bytes = fileBytes(path);
    EXPECT_EQ(bytes, expected);
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF")) << "no byte-order mark";
    EXPECT_FALSE(bytes.contains("\r\r\n")) << "one CR per line end";
    EXPECT_EQ(bytes.count("\r\n"), 11);
}

TEST(TextExport, UnitsFollowTheSettingFromEitherSystem)
{
    PatientRecord british = patient();
    EXPECT_TRUE(TextExport::header(british, 0).contains("female\t54\t70 in\t154 lb\r\n"));
    EXPECT_TRUE(TextExport::header(british, 1).contains("female\t54\t178 cm\t70 kg\r\n"));

    PatientRecord metric = patient();
    metric.gender = 0;
    metric.unitSystem = 1;
    metric.height = 178;
    metric.weight = 70;
    EXPECT_TRUE(TextExport::header(metric, 1).contains("male\t54\t178 cm\t70 kg\r\n"));
    EXPECT_TRUE(TextExport::header(metric, 0).contains("male\t54\t70 in\t154 lb\r\n"));

    // "%.0f" rounds an exact tie to the even digit: 750 lb is 340.5 kg, shown
    // 340, and 2.5 cm stays 2.
    PatientRecord tie = patient();
    tie.weight = 750;
    tie.height = 0;
    EXPECT_TRUE(TextExport::header(tie, 1).contains("\t0 cm\t340 kg\r\n"));
    tie.unitSystem = 1;
    tie.weight = 2.5F;
    tie.height = 2.5F;
    EXPECT_TRUE(TextExport::header(tie, 1).contains("\t2 cm\t2 kg\r\n"));
    EXPECT_EQ(Units::whole(340.5), 340);
    EXPECT_EQ(Units::whole(341.5), 342);
}

TEST(TextExport, ReadingLineKeepsLeadingZerosOfTheStamp)
{
    EXPECT_EQ(TextExport::line(july2010()), QByteArray("2010/07/21 09:05:03\t\t\t97\t\t64\r\n"));
    SampleRecord s = july2010();
    s.year = 0;
    s.month = 1;
    s.day = 1;
    s.hour = 0;
    s.minute = 0;
    s.second = 0;
    s.spo2 = 0;
    s.pulseRate = 30;
    EXPECT_EQ(TextExport::line(s), QByteArray("2000/01/01 00:00:00\t\t\t0\t\t30\r\n"));
}

TEST(TextExport, FailureAndStopLeaveTheOldFile)
{
    const QString path = tempPath(QStringLiteral("keep.txt"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    StoppingSink stop;
    EXPECT_EQ(TextExport::write(path, patient(), readings(20000), 0, &stop).maybeError(), FileError::Cancelled);
    EXPECT_TRUE(stop.ended);
    EXPECT_EQ(fileBytes(path), QByteArray("old"));

    const FileResult refused = TextExport::write(QStringLiteral("/proc/quellix-no.txt"), patient(), readings(3), 0);
    EXPECT_EQ(refused.maybeError(), FileError::CannotCreate);
    EXPECT_FALSE(refused.detail().isEmpty());
}

// ---- spreadsheet, read back with an independent reader ----

struct CellValue {
    unsigned char type = 0;
    int number = 0;
    QString text;
};

class Workbook
{
public:
    explicit Workbook(const QString &path)
    {
        opened_ = freexl_open(QFile::encodeName(path).constData(), &handle_) == FREEXL_OK &&
                  freexl_select_active_worksheet(handle_, 0) == FREEXL_OK;
    }
    ~Workbook()
    {
        if (handle_)
            freexl_close(handle_);
    }
    Workbook(const Workbook &) = delete;
    Workbook &operator=(const Workbook &) = delete;

    bool opened() const { return opened_; }
    unsigned rows() const
    {
        unsigned rows = 0;
        unsigned short columns = 0;
        freexl_worksheet_dimensions(handle_, &rows, &columns);
        return rows;
    }
    CellValue cell(unsigned row, unsigned short column) const
    {
        FreeXL_CellValue v;
        CellValue c;
        if (freexl_get_cell_value(handle_, row, column, &v) != FREEXL_OK)
            return c;
        c.type = v.type;
        if (v.type == FREEXL_CELL_INT)
            c.number = v.value.int_value;
        else if (v.type == FREEXL_CELL_TEXT || v.type == FREEXL_CELL_SST_TEXT)
            c.text = QString::fromUtf8(v.value.text_value);
        return c;
    }
    QString text(unsigned row, unsigned short column) const
    {
        const CellValue c = cell(row, column);
        EXPECT_TRUE(c.type == FREEXL_CELL_TEXT || c.type == FREEXL_CELL_SST_TEXT)
            << "row " << row << " column " << column << " type " << int(c.type);
        return c.text;
    }
    int number(unsigned row, unsigned short column) const
    {
        const CellValue c = cell(row, column);
        EXPECT_EQ(c.type, FREEXL_CELL_INT) << "row " << row << " column " << column;
        return c.number;
    }
    // Nothing there: a blank cell, or one outside the sheet's used range.
    bool empty(unsigned row, unsigned short column) const
    {
        const unsigned char type = cell(row, column).type;
        return type == FREEXL_CELL_NULL || type == 0;
    }

    // The five cells of the reading at (row, column): Num, Date ("MM/DD/Y"),
    // Time ("H:M:S" without leading zeros), SpO2, PR.
    void expectReading(unsigned row, unsigned short column, int num, const SampleRecord &s) const
    {
        EXPECT_EQ(number(row, column), num) << "row " << row << " column " << column;
        EXPECT_EQ(text(row, column + 1), QString::asprintf("%02d/%02d/%d", s.month, s.day, s.year));
        EXPECT_EQ(text(row, column + 2), QString::asprintf("%d:%d:%d", s.hour, s.minute, s.second));
        EXPECT_EQ(number(row, column + 3), s.spo2);
        EXPECT_EQ(number(row, column + 4), s.pulseRate);
    }

private:
    const void *handle_ = nullptr;
    bool opened_ = false;
};

TEST(XlsExport, PatientBlockHeadersAndReadingCells)
{
    std::vector<SampleRecord> three = {july2010(), july2010(), july2010()};
    three[2].spo2 = 100;
    const QString path = tempPath(QStringLiteral("three.xls"));
    ASSERT_TRUE(XlsExport::write(path, patient(), three, 1));

    Workbook book(path);
    ASSERT_TRUE(book.opened());
    const char *labels[] = {"PatId", "Name :", "Gender : ", "Age : ", "Height : ", "Weight : "};
    for (unsigned short c = 0; c < 6; ++c)
        EXPECT_EQ(book.text(0, c), QLatin1String(labels[c]));
    EXPECT_EQ(book.number(1, 0), 3);
    EXPECT_EQ(book.text(1, 1), QString::fromUtf8("Zo\u00e9 \u5f20\u4f1f"));
    EXPECT_EQ(book.text(1, 2), QStringLiteral("female"));
    EXPECT_EQ(book.number(1, 3), 54);
    EXPECT_EQ(book.text(1, 4), QStringLiteral("178 cm"));
    EXPECT_EQ(book.text(1, 5), QStringLiteral("70 kg"));
    for (unsigned short c = 0; c < 6; ++c)
        EXPECT_TRUE(book.empty(2, c));

    const char *headers[] = {"Num", "Date", "Time", "SpO2", "PR"};
    for (unsigned short c = 0; c < 5; ++c)
        EXPECT_EQ(book.text(3, c), QLatin1String(headers[c]));
    EXPECT_TRUE(book.empty(3, 5));
    EXPECT_TRUE(book.empty(3, 6)) << "one block, one set of headers";

    EXPECT_EQ(book.text(4, 1), QStringLiteral("07/21/10"));
    EXPECT_EQ(book.text(4, 2), QStringLiteral("9:5:3"));
    book.expectReading(4, 0, 1, three[0]);
    book.expectReading(6, 0, 3, three[2]);
    EXPECT_TRUE(book.empty(7, 0));
}

TEST(XlsExport, DateAndTimeTexts)
{
    SampleRecord s = july2010();
    s.year = 5;
    s.hour = 23;
    s.minute = 0;
    s.second = 59;
    EXPECT_EQ(XlsExport::dateText(s), QStringLiteral("07/21/5"));
    EXPECT_EQ(XlsExport::timeText(s), QStringLiteral("23:0:59"));
}

TEST(XlsExport, ReadingSixtyFiveThousandFiveHundredThirtyThreeOpensTheSecondBlock)
{
    const auto samples = readings(65533);
    const QString path = tempPath(QStringLiteral("two-blocks.xls"));
    RecordingSink progress;
    ASSERT_TRUE(XlsExport::write(path, patient(), samples, 0, &progress));
    EXPECT_EQ(progress.total, 65533);
    EXPECT_EQ(progress.last, 65533);
    EXPECT_GT(progress.reports, 10) << "the window moves as rows are written";
    EXPECT_TRUE(progress.ended);

    Workbook book(path);
    ASSERT_TRUE(book.opened());
    EXPECT_EQ(book.rows(), 65536u);
    EXPECT_EQ(book.text(3, 6), QStringLiteral("Num"));
    EXPECT_EQ(book.text(3, 10), QStringLiteral("PR"));
    book.expectReading(65535, 0, 65532, samples[65531]);
    book.expectReading(4, 6, 65533, samples[65532]);
    EXPECT_TRUE(book.empty(5, 6));
    EXPECT_TRUE(book.empty(4, 5)) << "the sixth column of a block stays empty";
    EXPECT_TRUE(book.empty(3, 12)) << "two blocks, two sets of headers";

    // A recording that exactly fills its first block already heads the next one.
    const QString full = tempPath(QStringLiteral("one-full-block.xls"));
    const std::vector<SampleRecord> oneBlock(samples.begin(), samples.begin() + 65532);
    ASSERT_TRUE(XlsExport::write(full, patient(), oneBlock, 0));
    Workbook fullBook(full);
    ASSERT_TRUE(fullBook.opened());
    fullBook.expectReading(65535, 0, 65532, oneBlock.back());
    EXPECT_EQ(fullBook.text(3, 6), QStringLiteral("Num"));
    EXPECT_EQ(fullBook.text(3, 10), QStringLiteral("PR"));
    EXPECT_TRUE(fullBook.empty(4, 6)) << "the second block has headers but no readings";
    EXPECT_TRUE(fullBook.empty(3, 12));
}

TEST(XlsExport, ReadingsBeyondFourBlocksContinueInAFifth)
{
    const auto samples = readings(300000);
    const QString path = tempPath(QStringLiteral("five-blocks.xls"));
    ASSERT_TRUE(XlsExport::write(path, patient(), samples, 0));
    EXPECT_EQ(XlsExport::blockCount(300000), 5);

    Workbook book(path);
    ASSERT_TRUE(book.opened());
    for (int b = 0; b < 5; ++b) {
        const auto column = static_cast<unsigned short>(b * 6);
        EXPECT_EQ(book.text(3, column), QStringLiteral("Num")) << b;
        book.expectReading(4, column, b * 65532 + 1, samples[std::size_t(b) * 65532]);
    }
    book.expectReading(65535, 18, 4 * 65532, samples[4 * 65532 - 1]);
    book.expectReading(4 + 37871, 24, 300000, samples[299999]);
    EXPECT_TRUE(book.empty(4 + 37872, 24));
    EXPECT_TRUE(book.empty(3, 30));
}

TEST(XlsExport, StopLeavesNoFileAndKeepsAnOldOne)
{
    const QString fresh = tempPath(QStringLiteral("stopped.xls"));
    StoppingSink stop;
    EXPECT_EQ(XlsExport::write(fresh, patient(), readings(20000), 0, &stop).maybeError(), FileError::Cancelled);
    EXPECT_EQ(stop.total, 20000);
    EXPECT_TRUE(stop.ended);
    EXPECT_FALSE(QFile::exists(fresh));

    const QString old = tempPath(QStringLiteral("old.xls"));
    {
        QFile f(old);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    StoppingSink again;
    EXPECT_EQ(XlsExport::write(old, patient(), readings(20000), 0, &again).maybeError(), FileError::Cancelled);
    EXPECT_EQ(fileBytes(old), QByteArray("old"));
    const QStringList left = QDir(testenv::root()).entryList({QStringLiteral("*stopped*"), QStringLiteral("*old*")});
    EXPECT_EQ(left, QStringList{QStringLiteral("old.xls")}) << "no temporary file stays behind";
}

TEST(XlsExport, MoreBlocksThanASheetHoldsAreRefusedNotWrapped)
{
    const std::vector<SampleRecord> huge(std::size_t(42) * 65532, testdata::Reading(1, 0));
    const QString path = tempPath(QStringLiteral("huge.xls"));
    const FileResult refused = XlsExport::write(path, patient(), huge, 0);
    EXPECT_EQ(refused.maybeError(), FileError::CannotCreate);
    EXPECT_FALSE(refused.detail().isEmpty());
    EXPECT_FALSE(QFile::exists(path));
}

TEST(XlsExport, EmptyRecordingStillHasItsPatientBlock)
{
    const QString path = tempPath(QStringLiteral("empty.xls"));
    ASSERT_TRUE(XlsExport::write(path, patient(), {}, 0));
    Workbook book(path);
    ASSERT_TRUE(book.opened());
    EXPECT_EQ(book.text(1, 4), QStringLiteral("70 in"));
    EXPECT_EQ(book.text(3, 0), QStringLiteral("Num"));
    EXPECT_TRUE(book.empty(4, 0));
}

} // namespace
