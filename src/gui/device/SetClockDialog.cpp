// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/SetClockDialog.h"

#include "app/Prompts.h"
#include "widgets/NoPasteLineEdit.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

using ClockInput::Field;

SetClockDialog::SetClockDialog(Prompts &prompts, QWidget *parent) : QDialog(parent), prompts_(prompts)
{
    setObjectName(QStringLiteral("setDateAndTime"));
    setWindowTitle(tr("Set Date And Time"));

    date_ = new QDateEdit(QDate::currentDate(), this);
    date_->setCalendarPopup(true);
    // The device keeps the year in six bits after 2000.
    date_->setDateRange(QDate(2000, 1, 1), QDate(2063, 12, 31));
    date_->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    auto *dateGroup = new QGroupBox(tr("Date"), this);
    auto *dateLayout = new QVBoxLayout(dateGroup);
    dateLayout->addWidget(date_);

    const QTime now = QTime::currentTime();
    hour_ = makeEdit(Field::Hour, now.hour());
    minute_ = makeEdit(Field::Minute, now.minute());
    second_ = makeEdit(Field::Second, now.second());
    auto *timeLayout = new QFormLayout;
    timeLayout->addRow(tr("Hour:"), hour_);
    timeLayout->addRow(tr("Minute:"), minute_);
    timeLayout->addRow(tr("Second:"), second_);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &SetClockDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SetClockDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(dateGroup);
    layout->addLayout(timeLayout);
    layout->addWidget(buttons);
}

QLineEdit *SetClockDialog::makeEdit(Field field, int value)
{
    // Like every typed value of the program's dialogs: typed, not pasted.
    auto *e = new NoPasteLineEdit(this);
    e->setText(QString::number(value));
    e->setMaxLength(4);
    e->installEventFilter(this);
    connect(e, &QLineEdit::textChanged, this, [this, field] { checkChange(field); });
    return e;
}

QLineEdit *SetClockDialog::edit(Field field) const
{
    switch (field) {
    case Field::Hour:
        return hour_;
    case Field::Minute:
        return minute_;
    case Field::Second:
        break;
    }
    return second_;
}

void SetClockDialog::checkChange(Field field)
{
    QLineEdit *e = edit(field);
    if (const auto message = ClockInput::checkChange(field, e->text())) {
        e->setText(QStringLiteral("0"));
        prompts_.warning(*message);
    }
}

bool SetClockDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        for (QLineEdit *e : {hour_, minute_, second_}) {
            if (watched != e)
                continue;
            if (const auto message = ClockInput::checkLeave(e->text())) {
                e->setText(QStringLiteral("0"));
                prompts_.warning(*message);
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

QDateTime SetClockDialog::chosen() const
{
    return QDateTime(date_->date(), QTime(hour_->text().toInt(), minute_->text().toInt(), second_->text().toInt()));
}
