// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/RecordingsWindow.h"

#include "app/Prompts.h"
#include "app/Settings.h"
#include "archive/ArchiveAccess.h"
#include "archive/ArchiveTasks.h"
#include "archive/NightListModel.h"
#include "dialogs/PatientInfoDialog.h"
#include "model/RecordStore.h"
#include "texts/ArchiveTexts.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace
{

// A date edit at its lowest date means "no bound" and says so.
const QDate kOpenDate(2000, 1, 1);

QDate boundOf(const QDateEdit *edit)
{
    return edit->date() == edit->minimumDate() ? QDate() : edit->date();
}

QDateEdit *dateEdit(QWidget *parent)
{
    auto *edit = new QDateEdit(parent);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit->setCalendarPopup(true);
    edit->setMinimumDate(kOpenDate);
    edit->setDate(kOpenDate);
    return edit;
}

QPushButton *button(QWidget *parent)
{
    auto *b = new QPushButton(parent);
    b->setAutoDefault(false);
    return b;
}

} // namespace

RecordingsWindow::RecordingsWindow(ArchiveAccess &access, Prompts &prompts, QWidget *parent)
    : QWidget(parent, Qt::Window), access_(access), prompts_(prompts),
      chooseFolder_([this] { return QFileDialog::getExistingDirectory(this); }),
      editPatient_([this, &prompts](RecordStore &store) {
          PatientInfoDialog dialog(store, prompts, Settings().unitSetup(), this, PatientInfoLogic::Keep::InMemory);
          return dialog.exec() == QDialog::Accepted;
      })
{
    setObjectName(QStringLiteral("recordingsWindow"));
    resize(860, 520);

    model_ = new NightListModel(this);
    proxy_ = new NightFilterProxy(this);
    proxy_->setSourceModel(model_);

    patientLabel_ = new QLabel(this);
    patientFilter_ = new QLineEdit(this);
    patientFilter_->setClearButtonEnabled(true);
    fromLabel_ = new QLabel(this);
    from_ = dateEdit(this);
    toLabel_ = new QLabel(this);
    to_ = dateEdit(this);
    auto *filters = new QHBoxLayout;
    filters->addWidget(patientLabel_);
    filters->addWidget(patientFilter_, 1);
    filters->addWidget(fromLabel_);
    filters->addWidget(from_);
    filters->addWidget(toLabel_);
    filters->addWidget(to_);

    table_ = new QTableView(this);
    table_->setModel(proxy_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(NightListModel::Date, Qt::DescendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->setWordWrap(false);
    // The figures take what they need; the name takes the rest.
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(NightListModel::Patient, QHeaderView::Stretch);

    open_ = button(this);
    remove_ = button(this);
    undo_ = button(this);
    patient_ = button(this);
    export_ = button(this);
    formatLabel_ = new QLabel(this);
    format_ = new QComboBox(this);
    for (const char *ext : {"dat", "txt", "xls", "csv", "edf"})
        format_->addItem(QStringLiteral(".") + QLatin1String(ext), QLatin1String(ext));
    close_ = button(this);
    auto *buttons = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{open_, patient_, remove_, undo_})
        buttons->addWidget(w);
    buttons->addStretch(1);
    for (QWidget *w : std::initializer_list<QWidget *>{formatLabel_, format_, export_, close_})
        buttons->addWidget(w);

    source_ = new QLabel(this);
    source_->setObjectName(QStringLiteral("archiveSource"));
    source_->setWordWrap(true);
    source_->hide();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(source_);
    layout->addLayout(filters);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);

    connect(patientFilter_, &QLineEdit::textChanged, proxy_, &NightFilterProxy::setPatientText);
    connect(from_, &QDateEdit::dateChanged, this, &RecordingsWindow::applyDates);
    connect(to_, &QDateEdit::dateChanged, this, &RecordingsWindow::applyDates);
    // Double-click and Enter both activate.
    connect(table_, &QTableView::activated, this, &RecordingsWindow::openCurrent);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &RecordingsWindow::updateButtons);
    connect(proxy_, &QAbstractItemModel::modelReset, this, &RecordingsWindow::updateButtons);
    connect(open_, &QPushButton::clicked, this, &RecordingsWindow::openCurrent);
    connect(remove_, &QPushButton::clicked, this, &RecordingsWindow::removeSelected);
    connect(undo_, &QPushButton::clicked, this, &RecordingsWindow::undoRemove);
    connect(export_, &QPushButton::clicked, this, &RecordingsWindow::exportSelected);
    connect(patient_, &QPushButton::clicked, this, &RecordingsWindow::editPatient);
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
    table_->installEventFilter(this);
    auto *undo = new QShortcut(QKeySequence::Undo, this);
    connect(undo, &QShortcut::activated, this, &RecordingsWindow::undoRemove);

    retranslateUi();
    reload();
}

void RecordingsWindow::retranslateUi()
{
    setWindowTitle(tr("Recordings"));
    patientLabel_->setText(tr("Patient or ID:"));
    fromLabel_->setText(tr("From:"));
    toLabel_->setText(tr("To:"));
    for (QDateEdit *edit : {from_, to_})
        edit->setSpecialValueText(tr("any"));
    open_->setText(tr("Open"));
    remove_->setText(tr("Delete"));
    undo_->setText(tr("Undo"));
    patient_->setText(tr("Patient details..."));
    formatLabel_->setText(tr("Format:"));
    export_->setText(tr("Export selected..."));
    close_->setText(tr("Close"));
}

bool RecordingsWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == table_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->matches(QKeySequence::Delete)) {
        removeSelected();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void RecordingsWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QWidget::changeEvent(event);
}

void RecordingsWindow::reload()
{
    QString error;
    std::optional<std::vector<NightInfo>> nights = access_.list(&error);
    if (!nights) {
        prompts_.warning(tr("The archive of recordings could not be read.") + QLatin1Char('\n') + error);
        nights.emplace();
    }
    showServerState();
    // A refresh (another desk's night, a sync) keeps the selection.
    const std::vector<qint64> selected = selectedNights();
    const qint64 current =
        table_->currentIndex().isValid() ? table_->currentIndex().data(NightListModel::NightRole).toLongLong() : 0;
    model_->setNights(std::move(*nights));
    QItemSelection keep;
    QModelIndex currentRow;
    for (int row = 0; row < proxy_->rowCount(); ++row) {
        const QModelIndex index = proxy_->index(row, 0);
        const qint64 night = index.data(NightListModel::NightRole).toLongLong();
        if (std::find(selected.begin(), selected.end(), night) != selected.end())
            keep.select(index, proxy_->index(row, proxy_->columnCount() - 1));
        if (night == current && current != 0)
            currentRow = index;
    }
    if (currentRow.isValid())
        table_->selectionModel()->setCurrentIndex(currentRow, QItemSelectionModel::NoUpdate);
    table_->selectionModel()->select(keep, QItemSelectionModel::ClearAndSelect);
    updateButtons();
}

void RecordingsWindow::showServerState()
{
    const ArchiveAccess::ServerState state = access_.serverState();
    readOnly_ = state.connected && state.readOnly;
    source_->setVisible(state.used);
    if (!state.used)
        return;
    QStringList lines{ArchiveTexts::listedFrom(state.connected)};
    if (!state.connected)
        lines << tr("The clinic server cannot be reached (%1). New nights and changes wait on this computer.")
                     .arg(state.away);
    if (state.pending > 0)
        lines << ArchiveTexts::notOnServer(state.pending);
    if (readOnly_)
        lines << ArchiveTexts::readOnlyAccount();
    source_->setText(lines.join(QLatin1Char('\n')));
}

void RecordingsWindow::applyDates()
{
    proxy_->setDateRange(boundOf(from_), boundOf(to_));
}

void RecordingsWindow::updateButtons()
{
    const bool any = !selectedNights().empty();
    open_->setEnabled(table_->currentIndex().isValid());
    patient_->setEnabled(table_->currentIndex().isValid() && !readOnly_);
    remove_->setEnabled(any && !readOnly_);
    export_->setEnabled(any);
    undo_->setEnabled(access_.canRestore() && !readOnly_);
}

std::vector<qint64> RecordingsWindow::selectedNights() const
{
    std::vector<qint64> nights;
    QModelIndexList rows = table_->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    for (const QModelIndex &row : rows)
        nights.push_back(row.data(NightListModel::NightRole).toLongLong());
    return nights;
}

void RecordingsWindow::openCurrent()
{
    const QModelIndex current = table_->currentIndex();
    if (current.isValid())
        Q_EMIT nightChosen(current.data(NightListModel::NightRole).toLongLong());
}

void RecordingsWindow::removeSelected()
{
    const std::vector<qint64> nights = selectedNights();
    if (nights.empty() || readOnly_)
        return;
    if (prompts_.question(tr("Remove the selected nights (%1) from the archive?").arg(nights.size())) !=
        Prompts::Answer::Ok)
        return;
    QStringList failed;
    for (qint64 n : nights) {
        QString error;
        if (!access_.remove(n, &error))
            failed.append(error);
    }
    reload();
    Q_EMIT archiveChanged();
    if (!failed.isEmpty())
        prompts_.warning(tr("These nights could not be removed:") + QLatin1Char('\n') + failed.join(QLatin1Char('\n')));
}

void RecordingsWindow::undoRemove()
{
    if (!access_.canRestore() || readOnly_)
        return;
    QString error;
    if (!access_.restoreLastRemoved(&error))
        prompts_.warning(tr("The night could not be restored.") + QLatin1Char('\n') + error);
    reload();
    Q_EMIT archiveChanged();
}

void RecordingsWindow::exportSelected()
{
    const std::vector<qint64> nights = selectedNights();
    if (nights.empty())
        return;
    const QString folder = chooseFolder_ ? chooseFolder_() : QString();
    if (folder.isEmpty())
        return;
    const NightExportReport report =
        exportNights(access_, nights, folder, format_->currentData().toString(), Settings().unitSetup());
    QString text = tr("%1 files written to %2.").arg(report.written.size()).arg(QDir::toNativeSeparators(folder));
    if (!report.failed.isEmpty()) {
        text += QLatin1Char('\n') + tr("Not written:") + QLatin1Char('\n') + report.failed.join(QLatin1Char('\n'));
        prompts_.warning(text);
        return;
    }
    prompts_.information(text);
}

void RecordingsWindow::editPatient()
{
    const QModelIndex current = table_->currentIndex();
    if (!current.isValid() || !editPatient_ || readOnly_)
        return;
    const qint64 number = current.data(NightListModel::NightRole).toLongLong();
    QString error;
    const std::optional<StoredNight> night = access_.night(number, &error);
    if (!night) {
        prompts_.warning(tr("The archive of recordings could not be read.") + QLatin1Char('\n') + error);
        return;
    }
    // The dialog works on a store of its own: the recording on screen stays as it is.
    RecordStore scratch;
    scratch.currentPatient = night->patient;
    if (!editPatient_(scratch) || scratch.currentPatient == night->patient)
        return;
    if (!access_.setPatient(number, scratch.currentPatient, &error)) {
        prompts_.warning(tr("The details could not be saved in the archive.") + QLatin1Char('\n') + error);
        return;
    }
    reload();
    Q_EMIT archiveChanged();
    Q_EMIT nightPatientChanged(number, scratch.currentPatient);
}
