// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/PatientInfoDialog.h"

#include "app/Texts.h"
#include "widgets/NoPasteLineEdit.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

PatientInfoDialog::PatientInfoDialog(RecordStore &store, Prompts &prompts, int unitSetup, QWidget *parent,
                                     PatientInfoLogic::Keep keep)
    : QDialog(parent), logic_(store, prompts, unitSetup, keep)
{
    setObjectName(QStringLiteral("patientInfo"));
    setWindowTitle(tr("Edit patient information"));

    id_ = new NoPasteLineEdit(this);
    id_->setReadOnly(true);
    id_->setObjectName(QStringLiteral("idNumber"));
    gender_ = new QComboBox(this);
    gender_->setObjectName(QStringLiteral("gender"));
    gender_->addItem(Text(TextNo::Male));
    gender_->addItem(Text(TextNo::Female));
    for (PatientField f : {PatientField::Name, PatientField::Age, PatientField::Height, PatientField::Weight,
                           PatientField::Physician, PatientField::Note1, PatientField::Note2, PatientField::Comments})
        addEdit(f);
    heightUnit_ = new QLabel(logic_.heightUnit(), this);
    weightUnit_ = new QLabel(logic_.weightUnit(), this);

    auto *grid = new QGridLayout;
    auto label = [this](const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    // A number with its unit right beside it.
    auto withUnit = [](QWidget *field, QLabel *unit) {
        auto *row = new QHBoxLayout;
        row->addWidget(field);
        row->addWidget(unit);
        row->addStretch(1);
        return row;
    };
    grid->addWidget(label(tr("ID &Number"), id_), 0, 0);
    grid->addWidget(id_, 0, 1);
    grid->addWidget(label(tr("&Gender"), gender_), 0, 2);
    grid->addWidget(gender_, 0, 3, Qt::AlignLeft);
    grid->addWidget(label(tr("Na&me"), edit(PatientField::Name)), 1, 0);
    grid->addWidget(edit(PatientField::Name), 1, 1);
    grid->addWidget(label(tr("&Age"), edit(PatientField::Age)), 1, 2);
    grid->addWidget(edit(PatientField::Age), 1, 3, Qt::AlignLeft);
    grid->addWidget(label(tr("&Height"), edit(PatientField::Height)), 2, 0);
    grid->addLayout(withUnit(edit(PatientField::Height), heightUnit_), 2, 1);
    grid->addWidget(label(tr("&Weight"), edit(PatientField::Weight)), 2, 2);
    grid->addLayout(withUnit(edit(PatientField::Weight), weightUnit_), 2, 3);
    grid->addWidget(label(tr("&Physician"), edit(PatientField::Physician)), 3, 0);
    grid->addWidget(edit(PatientField::Physician), 3, 1, 1, 3);
    grid->addWidget(label(tr("Note &1"), edit(PatientField::Note1)), 4, 0);
    grid->addWidget(edit(PatientField::Note1), 4, 1, 1, 3);
    grid->addWidget(label(tr("Note &2"), edit(PatientField::Note2)), 5, 0);
    grid->addWidget(edit(PatientField::Note2), 5, 1, 1, 3);
    grid->addWidget(label(tr("&Comments"), edit(PatientField::Comments)), 6, 0);
    grid->addWidget(edit(PatientField::Comments), 6, 1, 1, 3);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(3, 2);

    auto *buttons = new QDialogButtonBox(this);
    save_ = buttons->addButton(tr("&Save Info"), QDialogButtonBox::AcceptRole);
    delete_ = buttons->addButton(tr("&Delete Info"), QDialogButtonBox::ActionRole);
    cancel_ = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    save_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &PatientInfoDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PatientInfoDialog::reject);
    connect(delete_, &QPushButton::clicked, this, &PatientInfoDialog::deleteInfo);
    delete_->setVisible(keep == PatientInfoLogic::Keep::InPatientStore);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    fill(logic_.initialValues());
    edit(PatientField::Name)->setFocus();
    resize(sizeHint().width() * 3 / 2, sizeHint().height());
}

QLineEdit *PatientInfoDialog::addEdit(PatientField field)
{
    auto *e = new NoPasteLineEdit(this);
    if (PatientInfoLogic::isNumberField(field)) {
        // Digits only; the length is left to the live check, which says why it refuses.
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
        e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 8 + 16);
    }
    edits_[field] = e;
    connect(e, &QLineEdit::textChanged, this, [this, field] { checkChange(field); });
    return e;
}

void PatientInfoDialog::fill(const PatientInfoValues &v)
{
    correcting_ = true;
    id_->setText(v.idText);
    gender_->setCurrentIndex(v.gender);
    edit(PatientField::Age)->setText(QString::number(v.age));
    edit(PatientField::Name)->setText(v.name);
    edit(PatientField::Height)->setText(QString::number(v.height));
    edit(PatientField::Weight)->setText(QString::number(v.weight));
    edit(PatientField::Physician)->setText(v.physician);
    edit(PatientField::Note1)->setText(v.note1);
    edit(PatientField::Note2)->setText(v.note2);
    edit(PatientField::Comments)->setText(v.comments);
    correcting_ = false;
}

void PatientInfoDialog::checkChange(PatientField field)
{
    if (correcting_)
        return;
    QLineEdit *e = edit(field);
    const auto correction = logic_.checkChange(field, e->text());
    if (!correction)
        return;
    correcting_ = true;
    e->setText(correction->text);
    correcting_ = false;
    e->setFocus();
    if (correction->selectAll)
        e->selectAll();
}

PatientInfoValues PatientInfoDialog::values() const
{
    PatientInfoValues v;
    v.idText = id_->text();
    v.gender = std::max(gender_->currentIndex(), 0);
    v.age = edit(PatientField::Age)->text().toInt();
    v.name = edit(PatientField::Name)->text();
    v.height = edit(PatientField::Height)->text().toInt();
    v.weight = edit(PatientField::Weight)->text().toInt();
    v.physician = edit(PatientField::Physician)->text();
    v.note1 = edit(PatientField::Note1)->text();
    v.note2 = edit(PatientField::Note2)->text();
    v.comments = edit(PatientField::Comments)->text();
    return v;
}

void PatientInfoDialog::accept()
{
    logic_.save(values());
    QDialog::accept();
}

void PatientInfoDialog::deleteInfo()
{
    const auto outcome = logic_.deleteInfo(id_->text());
    if (outcome == PatientInfoLogic::DeleteOutcome::Cancelled)
        return;
    if (outcome == PatientInfoLogic::DeleteOutcome::Deleted) {
        PatientInfoValues blank;
        blank.idText = id_->text();
        fill(blank);
    }
    // Either way the details in memory are now blank; the page header follows.
    Q_EMIT detailsChanged();
}
