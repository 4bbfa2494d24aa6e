// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/ArchiveOptionsDialog.h"

#include "app/Settings.h"
#include "archive/ServerArchive.h"
#include "texts/ArchiveTexts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

ArchiveOptionsDialog::ArchiveOptionsDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("archiveOptionsDialog"));
    setWindowTitle(tr("Archive"));
    thisComputer_ = new QRadioButton(tr("This computer only"), this);
    withServer_ = new QRadioButton(tr("This computer and the clinic server"), this);
    auto *connectionLabel = new QLabel(tr("Connection string or service:"), this);
    connection_ = new QLineEdit(this);
    connection_->setPlaceholderText(QStringLiteral("postgresql://desk3@oxi-db.clinic.lan/quellix?sslmode=verify-full"));
    connectionLabel->setBuddy(connection_);
    auto *hint = new QLabel(tr("No password is kept: put it in ~/.pgpass, or type it when the server asks."), this);
    hint->setWordWrap(true);
    test_ = new QPushButton(tr("Test"), this);
    test_->setAutoDefault(false);
    outcome_ = new QLabel(this);
    outcome_->setWordWrap(true);
    outcome_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto *testRow = new QHBoxLayout;
    testRow->addWidget(test_);
    testRow->addWidget(outcome_, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(thisComputer_);
    layout->addWidget(withServer_);
    layout->addWidget(connectionLabel);
    layout->addWidget(connection_);
    layout->addWidget(hint);
    layout->addLayout(testRow);
    layout->addWidget(buttons);

    const Settings settings;
    connection_->setText(settings.archiveServer());
    (settings.archiveMode() == Settings::ArchiveMode::ClinicServer ? withServer_ : thisComputer_)->setChecked(true);
    connect(withServer_, &QRadioButton::toggled, this, &ArchiveOptionsDialog::updateState);
    connect(connection_, &QLineEdit::textChanged, this, &ArchiveOptionsDialog::updateState);
    connect(test_, &QPushButton::clicked, this, &ArchiveOptionsDialog::test);
    connect(buttons, &QDialogButtonBox::accepted, this, &ArchiveOptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ArchiveOptionsDialog::reject);
    updateState();
}

ArchiveOptionsDialog::~ArchiveOptionsDialog()
{
    job_.drop();
    job_.join();
}

void ArchiveOptionsDialog::updateState()
{
    const bool server = withServer_->isChecked();
    connection_->setEnabled(server);
    test_->setEnabled(server && !connection_->text().trimmed().isEmpty() && !job_.running());
}

void ArchiveOptionsDialog::test()
{
    const QString connection = connection_->text().trimmed();
    outcome_->setText(tr("Connecting..."));
    test_->setEnabled(false);
    // The connection is made, used and closed on the job's thread.
    job_.run<QString>(
        [connection](const BackgroundJob::Post &) {
            const ArchiveResult<std::unique_ptr<ServerArchive>> opened = ServerArchive::open(connection);
            if (!opened)
                return ArchiveTexts::text(opened, {connection, {}, 0});
            return opened.value()->readOnly() ? tr("Connected: this account may only read the nights.")
                                              : tr("Connected: this account may read and change the nights.");
        },
        [this](QString &said) {
            outcome_->setText(said);
            updateState();
            Q_EMIT testFinished();
        });
}

void ArchiveOptionsDialog::accept()
{
    Settings settings;
    const QString connection = connection_->text().trimmed();
    if (withServer_->isChecked() && connection.isEmpty()) {
        outcome_->setText(tr("Give the clinic server's connection string or service."));
        return;
    }
    if (connection != settings.archiveServer() && !settings.setArchiveServer(connection)) {
        outcome_->setText(ArchiveTexts::text(ArchiveError::PasswordInConnection, {}, {}));
        return;
    }
    settings.setArchiveMode(withServer_->isChecked() ? Settings::ArchiveMode::ClinicServer
                                                     : Settings::ArchiveMode::ThisComputer);
    QDialog::accept();
}
