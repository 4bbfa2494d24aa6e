// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/UnitSetupDialog.h"

#include "widgets/OkCancelButtons.h"

#include "app/Settings.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

UnitSetupDialog::UnitSetupDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("unitSetup"));
    setWindowTitle(tr("Unit setup"));

    auto *group = new QGroupBox(tr("Unit setup"), this);
    british_ = new QRadioButton(tr("The &Britain System"), group);
    metric_ = new QRadioButton(tr("The &Metric System"), group);
    auto *choice = new QButtonGroup(this);
    choice->addButton(british_, 0);
    choice->addButton(metric_, 1);
    auto *groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(british_);
    groupLayout->addWidget(metric_);

    // A value stored by someone else (neither 0 nor 1) selects neither button.
    const int index = indexForSetting(Settings().unitSetup());
    if (index == 0)
        british_->setChecked(true);
    else if (index == 1)
        metric_->setChecked(true);

    QDialogButtonBox *buttons = AddOkCancelButtons(*this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
}

int UnitSetupDialog::indexForSetting(int setting)
{
    return setting == 0 || setting == 1 ? setting : -1;
}

int UnitSetupDialog::selectedIndex() const
{
    if (british_->isChecked())
        return 0;
    if (metric_->isChecked())
        return 1;
    return -1;
}

void UnitSetupDialog::accept()
{
    // With neither chosen, OK keeps the units in force: storing -1 would read
    // back as 0 and switch to British without the user asking.
    const int index = selectedIndex();
    if (index >= 0)
        Settings().setUnitSetup(index);
    QDialog::accept();
}
