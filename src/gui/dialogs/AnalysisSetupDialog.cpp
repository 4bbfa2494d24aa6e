// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/AnalysisSetupDialog.h"

#include "app/Prompts.h"
#include "app/Settings.h"
#include "widgets/NoPasteLineEdit.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

AnalysisSetupDialog::AnalysisSetupDialog(Prompts &prompts, QWidget *parent)
    : QDialog(parent), prompts_(prompts), logic_(Settings().analysis())
{
    setWindowTitle(tr("Analysis setup"));
    const QString labels[AnalysisSetupLogic::kRows] = {
        tr("Times with saturations high"), tr("Times with saturations low"), tr("Times with pr high"),
        tr("Times with pr low"),           tr("Desaturation Event"),         tr("Pulse Event"),
    };

    auto *grid = new QGridLayout(this);
    grid->setHorizontalSpacing(12);
    for (int i = 0; i < AnalysisSetupLogic::kRows; ++i) {
        RowWidgets &w = rows_[std::size_t(i)];
        auto *label = new QLabel(labels[i], this);
        w.edit = new NoPasteLineEdit(this);
        w.edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), w.edit));
        w.edit->setFixedWidth(w.edit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
        w.edit->installEventFilter(this);
        label->setBuddy(w.edit);
        w.up = new QToolButton(this);
        w.up->setArrowType(Qt::UpArrow);
        w.up->setAccessibleName(tr("Increase"));
        w.down = new QToolButton(this);
        w.down->setArrowType(Qt::DownArrow);
        w.down->setAccessibleName(tr("Decrease"));
        for (QToolButton *b : {w.up, w.down}) {
            b->setFocusPolicy(Qt::NoFocus);
            b->setAutoRepeat(true);
            b->setFixedSize(18, 12);
        }
        auto *arrows = new QVBoxLayout;
        arrows->setSpacing(0);
        arrows->addWidget(w.up);
        arrows->addWidget(w.down);
        grid->addWidget(label, i, 0);
        grid->addWidget(w.edit, i, 1);
        grid->addLayout(arrows, i, 2);

        const auto row = Row(i);
        connect(w.up, &QToolButton::clicked, this, [this, row] { arrow(row, -1); });
        connect(w.down, &QToolButton::clicked, this, [this, row] { arrow(row, 1); });
        connect(w.edit, &QLineEdit::textChanged, this, [this, row](const QString &text) {
            if (!refilling_)
                react(logic_.textChanged(row, text));
        });
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setText(tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    grid->addWidget(buttons, AnalysisSetupLogic::kRows, 0, 1, 3);
    connect(buttons, &QDialogButtonBox::accepted, this, &AnalysisSetupDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &AnalysisSetupDialog::reject);

    refill();
    rows_[0].edit->setFocus();
    rows_[0].edit->selectAll();
}

AnalysisSetupLogic::Texts AnalysisSetupDialog::texts() const
{
    AnalysisSetupLogic::Texts t;
    for (int i = 0; i < AnalysisSetupLogic::kRows; ++i)
        t[std::size_t(i)] = rows_[std::size_t(i)].edit->text();
    return t;
}

void AnalysisSetupDialog::refill()
{
    refilling_ = true;
    const auto t = logic_.texts();
    for (int i = 0; i < AnalysisSetupLogic::kRows; ++i) {
        NoPasteLineEdit *e = rows_[std::size_t(i)].edit;
        if (e->text() != t[std::size_t(i)]) {
            e->setText(t[std::size_t(i)]);
            e->setCursorPosition(int(t[std::size_t(i)].size()));
        }
    }
    refilling_ = false;
}

void AnalysisSetupDialog::react(const AnalysisSetupLogic::Reaction &reaction)
{
    if (!reaction.message.isEmpty())
        prompts_.information(reaction.message);
    if (reaction.refill)
        refill();
}

void AnalysisSetupDialog::arrow(Row row, int delta)
{
    logic_.arrow(row, delta, texts());
    refill();
}

int AnalysisSetupDialog::rowOf(const QObject *edit) const
{
    for (int i = 0; i < AnalysisSetupLogic::kRows; ++i)
        if (rows_[std::size_t(i)].edit == edit)
            return i;
    return -1;
}

bool AnalysisSetupDialog::eventFilter(QObject *watched, QEvent *event)
{
    const int row = rowOf(watched);
    if (row >= 0) {
        if (event->type() == QEvent::FocusOut) {
            react(logic_.focusLost(Row(row), texts()));
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                arrow(Row(row), key == Qt::Key_Up ? -1 : 1);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AnalysisSetupDialog::accept()
{
    // Leaving the edit first runs its own check, as a click on OK would.
    ok_->setFocus();
    for (const QString &message : logic_.accept(texts()))
        prompts_.information(message);
    refill();
    Settings().setAnalysis(logic_.values());
    QDialog::accept();
}
