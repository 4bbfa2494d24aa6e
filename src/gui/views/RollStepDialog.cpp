// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/RollStepDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

#include "widgets/NoPasteLineEdit.h"

RollStepDialog::RollStepDialog(int rollStep, int pageCount, QWidget *parent)
    : QDialog(parent), logic_(rollStep, pageCount)
{
    setWindowTitle(tr("Set Step"));

    auto *label = new QLabel(tr("Roll Step :"), this);
    edit_ = new NoPasteLineEdit(this);
    edit_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), edit_));
    edit_->setText(QString::number(logic_.stepValue()));
    edit_->installEventFilter(this);
    label->setBuddy(edit_);

    up_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    up_->setAccessibleName(tr("Increase"));
    down_ = new QToolButton(this);
    down_->setArrowType(Qt::DownArrow);
    down_->setAccessibleName(tr("Decrease"));
    for (QToolButton *b : {up_, down_}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
        b->setFixedSize(18, 12);
    }
    auto *arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(up_);
    arrows->addWidget(down_);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(edit_, 0, 1);
    grid->addLayout(arrows, 0, 2);
    grid->addWidget(buttons, 1, 0, 1, 3);

    connect(buttons, &QDialogButtonBox::accepted, this, &RollStepDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &RollStepDialog::reject);
    connect(up_, &QToolButton::clicked, this, [this] { arrow(-1); });
    connect(down_, &QToolButton::clicked, this, [this] { arrow(1); });
    connect(edit_, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (refilling_)
            return;
        if (auto fixed = logic_.editChanged(text))
            refill(*fixed);
    });
    edit_->setFocus();
    edit_->selectAll();
}

void RollStepDialog::accept()
{
    logic_.accept(edit_->text());
    QDialog::accept();
}

bool RollStepDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == edit_) {
        if (event->type() == QEvent::FocusOut) {
            if (auto fixed = logic_.editLostFocus(edit_->text()))
                refill(*fixed);
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                arrow(key == Qt::Key_Up ? -1 : 1);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void RollStepDialog::refill(const QString &text)
{
    refilling_ = true;
    edit_->setText(text);
    edit_->setCursorPosition(int(text.size()));
    refilling_ = false;
}

void RollStepDialog::arrow(int delta)
{
    refill(logic_.arrowClicked(edit_->text(), delta));
}
