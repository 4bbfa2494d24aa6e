// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/LanguageDialog.h"

#include "widgets/OkCancelButtons.h"

#include "app/LanguageSwitch.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

LanguageDialog::LanguageDialog(int currentLanguageId, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("language"));
    setWindowTitle(tr("Language"));

    auto *label = new QLabel(tr("&Language of the program:"), this);
    list_ = new QComboBox(this);
    label->setBuddy(list_);
    for (const LanguageSwitch::Choice &c : LanguageSwitch::available()) {
        list_->addItem(c.nativeName, c.languageId);
        if (c.languageId == currentLanguageId)
            list_->setCurrentIndex(list_->count() - 1);
    }
    if (list_->findData(currentLanguageId) < 0)
        list_->setCurrentIndex(-1);

    QDialogButtonBox *buttons = AddOkCancelButtons(*this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

void LanguageDialog::accept()
{
    chosenId_ = list_->currentIndex() >= 0 ? list_->currentData().toInt() : -1;
    QDialog::accept();
}
