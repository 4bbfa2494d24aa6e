// SPDX-License-Identifier: GPL-3.0-or-later
// The "Set Step" dialog's rules, the refusal message and the dialog as the
// user drives it from the keyboard; the paging keys both data views share.
#include "views/RollStepDialog.h"
#include "views/RollStepLogic.h"
#include "views/TableView.h"
#include "views/TrendView.h"

#include "ViewTestData.h"

#include "app/ScriptedPrompts.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

TEST(RollStepLogic, EditNeverHoldsLessThanOne)
{
    RollStepLogic logic(4, 9);
    EXPECT_EQ(logic.editChanged(QStringLiteral("7")), std::nullopt);
    EXPECT_EQ(logic.editChanged(QStringLiteral("0")), QStringLiteral("1"));
    EXPECT_EQ(logic.stepValue(), 1);
    EXPECT_EQ(logic.editChanged(QString()), QStringLiteral("1"));
    EXPECT_EQ(logic.editChanged(QStringLiteral("000")), QStringLiteral("1"));

    EXPECT_EQ(logic.editLostFocus(QString()), QStringLiteral("1"));
    EXPECT_EQ(logic.editLostFocus(QStringLiteral("0")), QStringLiteral("1"));
    EXPECT_EQ(logic.editLostFocus(QStringLiteral("6")), std::nullopt);
    EXPECT_EQ(logic.stepValue(), 6);
}

TEST(RollStepLogic, ArrowsStayBetweenOneAndThePageCount)
{
    RollStepLogic logic(1, 3);
    QString text = QStringLiteral("1");
    for (int k = 0; k < 5; ++k)
        text = logic.arrowClicked(text, -1); // upper arrow adds 1
    EXPECT_EQ(text, QStringLiteral("3"));
    for (int k = 0; k < 5; ++k)
        text = logic.arrowClicked(text, 1);
    EXPECT_EQ(text, QStringLiteral("1"));
    EXPECT_EQ(logic.stepValue(), 1);
    // A typed value above the limit comes back to it at the next click.
    EXPECT_EQ(logic.arrowClicked(QStringLiteral("9"), 1), QStringLiteral("3"));
    // Without pages the arrows hold 1.
    RollStepLogic none(1, 0);
    EXPECT_EQ(none.arrowClicked(QStringLiteral("1"), -1), QStringLiteral("1"));
    EXPECT_EQ(none.arrowClicked(QStringLiteral("1"), 1), QStringLiteral("1"));
}

TEST(RollStepLogic, ValueAboveThePageCountIsRefused)
{
    EXPECT_EQ(RollStepLogic::Refusal(7, 3), QStringLiteral("Please input a num which is between 1 and 3"));
    EXPECT_EQ(RollStepLogic::Refusal(1, 0), QStringLiteral("Please input a num which is between 1 and 0"));
    EXPECT_EQ(RollStepLogic::Refusal(3, 3), std::nullopt);
    EXPECT_EQ(RollStepLogic::Refusal(1, 5), std::nullopt);
    EXPECT_EQ(RollStepLogic::Refusal(2147483647, 5), QStringLiteral("Please input a num which is between 1 and 5"));
}

TEST(SetRollStepDialog, TypingAndArrowKeys)
{
    RollStepDialog dialog(1, 3);
    QLineEdit *edit = dialog.edit();
    EXPECT_EQ(edit->text(), QStringLiteral("1"));
    QTest::keyClick(edit, Qt::Key_Up);
    QTest::keyClick(edit, Qt::Key_Up);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->text(), QStringLiteral("3"));
    QTest::mouseClick(dialog.downButton(), Qt::LeftButton);
    EXPECT_EQ(edit->text(), QStringLiteral("2"));

    // Clearing the edit puts 1 back; letters cannot be typed.
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), QStringLiteral("1"));
    QTest::keyClicks(edit, QStringLiteral("x2"));
    EXPECT_EQ(edit->text(), QStringLiteral("12"));
    dialog.accept();
    EXPECT_EQ(dialog.stepValue(), 12);
}

namespace
{

// Answers the next modal "Set Step" dialog with text and OK (or Cancel).
void AnswerNextDialog(const QString &text, bool ok)
{
    QTimer::singleShot(0, [text, ok] {
        auto *dialog = qobject_cast<RollStepDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->edit()->setText(text);
        if (ok)
            dialog->accept();
        else
            dialog->reject();
    });
}

} // namespace

TEST(SetRollStepDialog, ViewKeepsItsStepWhenRefusedOrCancelled)
{
    RecordStore store;
    viewtest::FillRecording(
        store, 2000, [](int) { return 95; }, [](int) { return 70; });
    TrendView view(store);
    view.resize(1000, 700); // 3 pages
    ScriptedPrompts prompts;
    view.setPrompts(&prompts);

    AnswerNextDialog(QStringLiteral("7"), true);
    view.editRollStep();
    EXPECT_EQ(view.rollStep(), 1);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown.at(0), QStringLiteral("Please input a num which is between 1 and 3"));

    AnswerNextDialog(QStringLiteral("2"), false);
    view.editRollStep();
    EXPECT_EQ(view.rollStep(), 1);

    // The page count itself is accepted; Page Down then reaches the last page.
    AnswerNextDialog(QStringLiteral("3"), true);
    view.editRollStep();
    EXPECT_EQ(view.rollStep(), 3);
    view.pageDown();
    EXPECT_EQ(view.position(), 2);
    EXPECT_EQ(prompts.shown.size(), 1);

    // A new view starts again at 1.
    EXPECT_EQ(TrendView(store).rollStep(), 1);
}

TEST(PagingKeys, HomeAndEndReachTheEndsOfBothViewsAndPageKeysKeepTheirStep)
{
    for (const bool trend : {true, false}) {
        SCOPED_TRACE(trend ? "trend" : "table");
        RecordStore store;
        viewtest::FillRecording(
            store, 5000, [](int) { return 95; }, [](int) { return 70; });
        std::unique_ptr<DataView> view;
        if (trend)
            view = std::make_unique<TrendView>(store);
        else
            view = std::make_unique<TableView>(store);
        view->resize(1000, 700);
        const int pages = view->pageCount();
        ASSERT_GE(pages, 5);
        view->setRollStep(2);
        QSignalSpy readout(view.get(), &DataView::pageChanged);

        QTest::keyClick(view.get(), Qt::Key_End);
        EXPECT_EQ(view->position(), pages - 1);
        QTest::keyClick(view.get(), Qt::Key_PageUp);
        EXPECT_EQ(view->position(), pages - 3);
        QTest::keyClick(view.get(), Qt::Key_Home);
        EXPECT_EQ(view->position(), 0);
        ASSERT_EQ(readout.count(), 3);
        EXPECT_EQ(readout.last(), (QList<QVariant>{0, pages}));
        QTest::keyClick(view.get(), Qt::Key_PageDown);
        EXPECT_EQ(view->position(), 2);
        QTest::keyClick(view.get(), Qt::Key_Home);
        QTest::keyClick(view.get(), Qt::Key_Home);
        EXPECT_EQ(view->position(), 0);

        // Without readings both stay on the one empty page.
        store.currentSamples.clear();
        QTest::keyClick(view.get(), Qt::Key_End);
        EXPECT_EQ(view->position(), 0);
    }
}
