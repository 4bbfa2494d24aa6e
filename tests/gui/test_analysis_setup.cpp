// SPDX-License-Identifier: GPL-3.0-or-later
// "Analysis setup": range and pair rules, the arrows, what is stored, and the
// analysis page redrawn at once after OK.
#include "dialogs/AnalysisSetupDialog.h"

#include "app/ScriptedPrompts.h"
#include "app/Settings.h"
#include "model/RecordStore.h"
#include "shell/CommandIds.h"
#include "shell/MainWindow.h"
#include "views/AnalysisView.h"
#include "widgets/NoPasteLineEdit.h"

#include "ViewTestData.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace
{

using Row = AnalysisSetupLogic::Row;
using Texts = AnalysisSetupLogic::Texts;

const QString kSaturationRange = QStringLiteral("Please input a num between 40 and 100 !");
const QString kPulseRange = QStringLiteral("Please input a num between 15 and 300 !");
const QString kEventRange = QStringLiteral("Please input a num between 1 and 20 !");
const QString kSpo2Pair = QStringLiteral("Error ! The SpO2 high value must large than low value !");
const QString kPrPair = QStringLiteral("Error ! The PR high value must large than low value !");

Texts With(Texts t, Row row, const QString &text)
{
    t[std::size_t(row)] = text;
    return t;
}

class SetupTest : public ::testing::Test
{
protected:
    void SetUp() override { QSettings("quellix", "setup").clear(); }
    void TearDown() override { QSettings("quellix", "setup").clear(); }
};

} // namespace

TEST_F(SetupTest, RangesWhileTypingAndWhenAnEditIsLeft)
{
    AnalysisSettings stored;
    stored.saturationsHigh = 96;
    AnalysisSetupLogic logic(stored);
    EXPECT_EQ(logic.texts(), (Texts{"96", "88", "150", "60", "4", "6"}));

    // Clearing an edit, text that is no number, and 0 are refused at once.
    for (const char *typed : {"", "x", "0"}) {
        const auto r = logic.textChanged(Row::SaturationsHigh, QString::fromLatin1(typed));
        EXPECT_EQ(r.message, kSaturationRange) << typed;
        EXPECT_TRUE(r.refill);
        EXPECT_EQ(logic.value(Row::SaturationsHigh), 96) << "the stored value comes back";
    }
    EXPECT_EQ(logic.textChanged(Row::PrLow, QStringLiteral("0")).message, kPulseRange);
    EXPECT_EQ(logic.textChanged(Row::PulseEvent, QStringLiteral("")).message, kEventRange);

    // 101 passes while typed and is refused when the edit is left.
    EXPECT_TRUE(logic.textChanged(Row::SaturationsHigh, QStringLiteral("101")).message.isEmpty());
    auto r = logic.focusLost(Row::SaturationsHigh, With(logic.texts(), Row::SaturationsHigh, "101"));
    EXPECT_EQ(r.message, kSaturationRange);
    EXPECT_EQ(logic.value(Row::SaturationsHigh), 96);

    // Limits are inclusive; in range, every edit is taken.
    Texts t = logic.texts();
    t[std::size_t(Row::DesaturationsEvent)] = "21";
    EXPECT_EQ(logic.focusLost(Row::DesaturationsEvent, t).message, kEventRange);
    t[std::size_t(Row::DesaturationsEvent)] = "20";
    t[std::size_t(Row::PrHigh)] = "300";
    t[std::size_t(Row::SaturationsLow)] = "40";
    EXPECT_TRUE(logic.focusLost(Row::DesaturationsEvent, t).message.isEmpty());
    EXPECT_EQ(logic.value(Row::DesaturationsEvent), 20);
    EXPECT_EQ(logic.value(Row::PrHigh), 300);
    EXPECT_EQ(logic.value(Row::SaturationsLow), 40);
    EXPECT_EQ(logic.focusLost(Row::PrHigh, With(t, Row::PrHigh, "14")).message, kPulseRange);
    EXPECT_EQ(logic.focusLost(Row::SaturationsLow, With(t, Row::SaturationsLow, "39")).message, kSaturationRange);
}

TEST_F(SetupTest, ArrowsStepAndStayInRange)
{
    AnalysisSetupLogic logic{AnalysisSettings{}};
    logic.arrow(Row::SaturationsHigh, -1, With(logic.texts(), Row::SaturationsHigh, "100"));
    EXPECT_EQ(logic.value(Row::SaturationsHigh), 100);
    logic.arrow(Row::DesaturationsEvent, 1, With(logic.texts(), Row::DesaturationsEvent, "1"));
    EXPECT_EQ(logic.value(Row::DesaturationsEvent), 1);
    logic.arrow(Row::PrLow, -1, logic.texts());
    EXPECT_EQ(logic.value(Row::PrLow), 61);
    logic.arrow(Row::PrHigh, 1, logic.texts());
    EXPECT_EQ(logic.value(Row::PrHigh), 149);
    // A value typed beyond the range is brought back by the arrow itself.
    logic.arrow(Row::PulseEvent, -1, With(logic.texts(), Row::PulseEvent, "35"));
    EXPECT_EQ(logic.value(Row::PulseEvent), 20);
}

TEST_F(SetupTest, OkChecksBothPairsAndKeepsTheOtherRows)
{
    AnalysisSetupLogic logic{AnalysisSettings{}};
    Texts t{"90", "90", "150", "60", "5", "7"};
    EXPECT_EQ(logic.accept(t), QStringList{kSpo2Pair});
    EXPECT_EQ(logic.values().saturationsHigh, 94);
    EXPECT_EQ(logic.values().saturationsLow, 88);
    EXPECT_EQ(logic.values().desaturationsEvent, 5);
    EXPECT_EQ(logic.values().pulseEvent, 7);

    AnalysisSetupLogic both{AnalysisSettings{}};
    EXPECT_EQ(both.accept({"80", "90", "60", "70", "4", "6"}), (QStringList{kSpo2Pair, kPrPair}));
    EXPECT_EQ(both.values(), AnalysisSettings{});

    // A value that never left its edit is still checked before it is stored.
    AnalysisSetupLogic typed{AnalysisSettings{}};
    EXPECT_EQ(typed.accept({"94", "88", "150", "60", "35", "6"}), QStringList{kEventRange});
    EXPECT_EQ(typed.values().desaturationsEvent, 4);
}

TEST_F(SetupTest, DialogShowsStoredValuesAndStoresOnOkOnly)
{
    ScriptedPrompts prompts;
    {
        AnalysisSetupDialog dialog(prompts);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Analysis setup"));
        EXPECT_EQ(dialog.edit(Row::SaturationsHigh)->text(), QStringLiteral("94"));
        EXPECT_EQ(dialog.edit(Row::PulseEvent)->text(), QStringLiteral("6"));
        dialog.edit(Row::PrLow)->setText(QStringLiteral("55"));
        dialog.reject();
    }
    EXPECT_EQ(ReadSetupInt(QStringLiteral("PrLow"), -1), -1) << "Cancel writes nothing";

    AnalysisSetupDialog dialog(prompts);
    dialog.edit(Row::PrLow)->clear(); // refused at once, 60 is back
    EXPECT_EQ(prompts.shown, QStringList{kPulseRange});
    EXPECT_EQ(dialog.edit(Row::PrLow)->text(), QStringLiteral("60"));
    dialog.upButton(Row::DesaturationsEvent)->click();
    EXPECT_EQ(dialog.edit(Row::DesaturationsEvent)->text(), QStringLiteral("5"));
    dialog.downButton(Row::PulseEvent)->click();
    EXPECT_EQ(dialog.edit(Row::PulseEvent)->text(), QStringLiteral("5"));
    dialog.edit(Row::SaturationsHigh)->setText(QStringLiteral("90"));
    dialog.edit(Row::SaturationsLow)->setText(QStringLiteral("90"));
    prompts.shown.clear();
    dialog.accept();
    EXPECT_EQ(prompts.shown, QStringList{kSpo2Pair});
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Settings().analysis().saturationsHigh, 94);
    EXPECT_EQ(Settings().analysis().saturationsLow, 88);
    EXPECT_EQ(Settings().analysis().desaturationsEvent, 5);
    EXPECT_EQ(Settings().analysis().pulseEvent, 5);
    EXPECT_EQ(ReadSetupInt(QStringLiteral("PrHigh"), -1), 150) << "all six are written";
}

TEST_F(SetupTest, OkRedrawsTheAnalysisPageAtOnceAndOnlyStoresElsewhere)
{
    RecordStore store;
    ScriptedPrompts prompts;
    MainWindow frame(store, prompts, 1033);
    // A fall of 3 points for 20 seconds: an event only with a drop of 3.
    viewtest::FillRecording(
        store, 600, [](int i) { return i >= 100 && i < 120 ? 94 : 97; }, [](int) { return 70; });
    frame.showRecording();
    frame.setDataArrived(false);

    auto setDrop = [&](const char *drop) {
        QTimer::singleShot(0, [drop] {
            auto *dialog = qobject_cast<AnalysisSetupDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->edit(Row::DesaturationsEvent)->setText(QString::fromLatin1(drop));
            dialog->okButton()->click();
        });
        frame.action(CommandId::AnalysisSetup)->trigger();
    };

    setDrop("3"); // on the trend page: stored, nothing re-run
    EXPECT_EQ(ReadSetupInt(QStringLiteral("DesaturationsEvent"), 0), 3);
    EXPECT_EQ(frame.displayMode(), DisplayMode::Trend);
    EXPECT_EQ(frame.analysisResults().spo2EventCount, 0);

    frame.action(CommandId::ModeAnalysis)->trigger();
    EXPECT_EQ(frame.analysisResults().spo2EventCount, 1);
    AnalysisView *before = qobject_cast<AnalysisView *>(frame.activeView());
    ASSERT_NE(before, nullptr);

    setDrop("4");
    EXPECT_EQ(frame.displayMode(), DisplayMode::Analysis);
    EXPECT_EQ(frame.analysisResults().spo2EventCount, 0);
    auto *after = qobject_cast<AnalysisView *>(frame.activeView());
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->picture().desaturationsEvent, 4);
    EXPECT_TRUE(prompts.shown.isEmpty());
}
