// SPDX-License-Identifier: GPL-3.0-or-later
#include "PaintCounter.h"
#include "app/ScriptedPrompts.h"
#include "app/Settings.h"
#include "device/SetClockDialog.h"
#include "dialogs/PatientInfoDialog.h"
#include "dialogs/ReportTitleDialog.h"
#include "dialogs/UnitSetupDialog.h"
#include "model/RecordStore.h"
#include "shell/CommandIds.h"
#include "shell/MainWindow.h"
#include "test_env.h"
#include "views/DataView.h"
#include "views/ReportHeader.h"
#include "views/RollStepDialog.h"
#include "widgets/NoPasteLineEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMenu>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

namespace
{

void removeSetting(const char *name)
{
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("quellix"), QStringLiteral("setup"));
    s.remove(QLatin1String(name));
    s.sync();
}

// Runs act on the modal dialog of type D that command opens.
template <class D> bool driveModal(MainWindow &frame, CommandId::Id command, std::function<void(D &)> act)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<D *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        act(*dialog);
    });
    frame.action(command)->trigger();
    return seen;
}

class WindowWithRecording : public ::testing::Test
{
protected:
    void SetUp() override
    {
        frame.resize(1100, 800);
        frame.show();
        ASSERT_TRUE(frame.openSavedFile(testenv::dataFile(QStringLiteral("valid-night-id7.dat"))));
        QCoreApplication::processEvents();
        ASSERT_NE(frame.activeView(), nullptr);
    }
    // Paint events the view received while act ran and the events settled.
    int paintsDuring(const std::function<void()> &act)
    {
        PaintCounter counter(frame.activeView());
        act();
        QTest::qWait(50);
        return counter.paints;
    }

    RecordStore store;
    ScriptedPrompts prompts;
    MainWindow frame{store, prompts, 1033};
};

TEST(UnitSetup, OpensOnTheStoredSystemAndWritesZeroOrOne)
{
    removeSetting("UnitSetup");
    {
        UnitSetupDialog dialog;
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Unit setup"));
        EXPECT_TRUE(dialog.britishButton()->isChecked()) << "no value stored: British";
        dialog.metricButton()->setChecked(true);
        dialog.accept();
        EXPECT_EQ(ReadSetupInt(QStringLiteral("UnitSetup"), -7), 1);
    }
    {
        UnitSetupDialog dialog;
        EXPECT_TRUE(dialog.metricButton()->isChecked());
        dialog.britishButton()->setChecked(true);
        dialog.reject();
        EXPECT_EQ(ReadSetupInt(QStringLiteral("UnitSetup"), -7), 1) << "Cancel writes nothing";
    }
    {
        UnitSetupDialog dialog;
        dialog.britishButton()->setChecked(true);
        dialog.accept();
        EXPECT_EQ(ReadSetupInt(QStringLiteral("UnitSetup"), -7), 0);
    }
    // A value neither 0 nor 1 selects neither button, and OK without a choice keeps it.
    WriteSetupValue(QStringLiteral("UnitSetup"), QStringLiteral("5"));
    UnitSetupDialog odd;
    EXPECT_FALSE(odd.britishButton()->isChecked());
    EXPECT_FALSE(odd.metricButton()->isChecked());
    EXPECT_EQ(odd.selectedIndex(), -1);
    odd.accept();
    EXPECT_EQ(ReadSetupInt(QStringLiteral("UnitSetup"), -7), 5);
}

TEST_F(WindowWithRecording, UnitSetupRepaintsTheViewOnlyOnAChange)
{
    WriteSetupValue(QStringLiteral("UnitSetup"), QStringLiteral("1"));
    store.currentPatient.height = 70; // inches
    store.currentPatient.unitSystem = 0;
    auto choose = [this](bool metric, bool ok) {
        return driveModal<UnitSetupDialog>(frame, CommandId::UnitSetup, [=](UnitSetupDialog &d) {
            (metric ? d.metricButton() : d.britishButton())->setChecked(true);
            ok ? d.accept() : d.reject();
        });
    };
    bool seen = false;
    EXPECT_GT(paintsDuring([&] { seen = choose(false, true); }), 0) << "Metric to British repaints";
    EXPECT_TRUE(seen);
    EXPECT_EQ(CurrentHeaderContent(store).height, QStringLiteral("70 in"));
    EXPECT_EQ(paintsDuring([&] { choose(false, true); }), 0) << "OK without a change does not";
    EXPECT_EQ(paintsDuring([&] { choose(true, false); }), 0) << "Cancel does not";
    EXPECT_GT(paintsDuring([&] { choose(true, true); }), 0);
    EXPECT_EQ(CurrentHeaderContent(store).height, QStringLiteral("178 cm"));
}

TEST(ReportTitle, TitleIsCutToSixtyWhenTheEditIsLeftOrAccepted)
{
    ScriptedPrompts prompts;
    const QString sixty(60, QLatin1Char('t'));
    ReportTitleDialog dialog(QStringLiteral("Sleep lab"), prompts);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Modify Title"));
    EXPECT_EQ(dialog.edit()->text(), QStringLiteral("Sleep lab"));

    // 61 characters typed, then the edit is left.
    dialog.edit()->setFocus();
    dialog.edit()->selectAll();
    QTest::keyClicks(dialog.edit(), sixty + QStringLiteral("X"));
    EXPECT_TRUE(prompts.shown.isEmpty()) << "typing is free; leaving the edit checks";
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(dialog.edit(), &leave);
    QCoreApplication::processEvents();
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("Field must be 60 or less characters in length!")});
    EXPECT_EQ(dialog.edit()->text(), sixty);
    EXPECT_EQ(dialog.edit()->selectedText(), sixty);

    // Enter accepts without leaving the edit: cut too, and the dialog stays open.
    prompts.shown.clear();
    dialog.edit()->setText(sixty + QStringLiteral("YZ"));
    dialog.accept();
    EXPECT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(dialog.edit()->text(), sixty);
    EXPECT_EQ(dialog.result(), 0) << "still open";
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.title(), sixty);
    EXPECT_EQ(prompts.shown.size(), 1);
}

TEST_F(WindowWithRecording, ReportTitleOkStoresTheTitleAndCancelKeepsIt)
{
    store.reportTitle = QStringLiteral("Before");
    int paints = paintsDuring([&] {
        EXPECT_TRUE(driveModal<ReportTitleDialog>(frame, CommandId::PatientTitle, [](ReportTitleDialog &d) {
            d.edit()->setText(QStringLiteral("Ward 3 overnight"));
            d.accept();
        }));
    });
    EXPECT_EQ(store.reportTitle, QStringLiteral("Ward 3 overnight"));
    EXPECT_EQ(CurrentHeaderContent(store).title, QStringLiteral("Ward 3 overnight"));
    EXPECT_GT(paints, 0);

    paints = paintsDuring([&] {
        EXPECT_TRUE(driveModal<ReportTitleDialog>(frame, CommandId::PatientTitle, [](ReportTitleDialog &d) {
            d.edit()->setText(QStringLiteral("Thrown away"));
            d.reject();
        }));
    });
    EXPECT_EQ(store.reportTitle, QStringLiteral("Ward 3 overnight"));
    EXPECT_GT(paints, 0) << "the header is redrawn either way";
}

TEST(NoPaste, CtrlVAndTheRightButtonDoNothingShiftInsertPastes)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    NoPasteLineEdit edit;
    edit.show();
    edit.setFocus();
    QTest::keyClicks(&edit, QStringLiteral("ab"));
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("ab"));

    QTest::mouseClick(&edit, Qt::RightButton);
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(2, 2), edit.mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(&edit, &menu);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "no menu to paste from";
    EXPECT_EQ(edit.text(), QStringLiteral("ab"));

    QTest::keyClick(&edit, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("abpasted"));
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("abpasted")) << "copying still works";
}

TEST(NoPaste, EveryTypedValueOfTheDialogsRefusesCtrlV)
{
    ScriptedPrompts prompts;
    RecordStore store;
    ReportTitleDialog title(QString(), prompts);
    PatientInfoDialog patient(store, prompts, 0);
    SetClockDialog clock(prompts);
    RollStepDialog roll(1, 5);
    std::vector<QLineEdit *> edits{title.edit(), roll.edit()};
    for (auto f : {PatientField::Name, PatientField::Age, PatientField::Height, PatientField::Weight,
                   PatientField::Physician, PatientField::Note1, PatientField::Note2, PatientField::Comments})
        edits.push_back(patient.edit(f));
    for (auto f : {ClockInput::Field::Hour, ClockInput::Field::Minute, ClockInput::Field::Second})
        edits.push_back(clock.edit(f));
    QGuiApplication::clipboard()->setText(QStringLiteral("7"));
    for (QLineEdit *e : edits) {
        EXPECT_NE(qobject_cast<NoPasteLineEdit *>(e), nullptr) << e->parent()->metaObject()->className();
        const QString before = e->text();
        e->setCursorPosition(0);
        QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(e->text(), before) << e->parent()->metaObject()->className();
    }
    EXPECT_TRUE(prompts.shown.isEmpty());
}

} // namespace
