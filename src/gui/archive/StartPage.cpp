// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/StartPage.h"

#include "archive/NightListModel.h"

#include <QAction>
#include <QCommandLinkButton>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace
{

enum Column { PatientColumn, DateColumn, StartColumn, DurationColumn };
constexpr int kNightRole = Qt::UserRole;

} // namespace

StartPage::StartPage(QAction *download, QAction *open, QWidget *parent)
    : QWidget(parent), downloadAction_(download), openAction_(open)
{
    setObjectName(QStringLiteral("startPage"));
    setAutoFillBackground(true);
    download_ = new QCommandLinkButton(this);
    open_ = new QCommandLinkButton(this);
    recentTitle_ = new QLabel(this);
    QFont bold = recentTitle_->font();
    bold.setBold(true);
    recentTitle_->setFont(bold);
    empty_ = new QLabel(this);
    empty_->setWordWrap(true);
    nights_ = new QTreeWidget(this);
    nights_->setRootIsDecorated(false);
    nights_->setColumnCount(4);
    nights_->setAllColumnsShowFocus(true);
    nights_->header()->setStretchLastSection(false);
    nights_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    nights_->header()->setSectionResizeMode(PatientColumn, QHeaderView::Stretch);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(download_);
    layout->addWidget(open_);
    layout->addSpacing(12);
    layout->addWidget(recentTitle_);
    layout->addWidget(empty_);
    layout->addWidget(nights_, 1);
    // Holds the page together at the top while there is no list.
    layout->addStretch();

    connect(download_, &QCommandLinkButton::clicked, download, &QAction::trigger);
    connect(open_, &QCommandLinkButton::clicked, open, &QAction::trigger);
    // Double-click and Enter.
    connect(nights_, &QTreeWidget::itemActivated, this, &StartPage::chooseItem);
    connect(download, &QAction::changed, this, &StartPage::retranslateUi);
    connect(open, &QAction::changed, this, &StartPage::retranslateUi);
    retranslateUi();
    setNights({});
}

void StartPage::retranslateUi()
{
    download_->setText(tr("Download from the oximeter"));
    download_->setDescription(downloadAction_->shortcut().toString(QKeySequence::NativeText));
    open_->setText(tr("Open saved data"));
    open_->setDescription(openAction_->shortcut().toString(QKeySequence::NativeText));
    download_->setEnabled(downloadAction_->isEnabled());
    open_->setEnabled(openAction_->isEnabled());
    recentTitle_->setText(tr("Latest nights in the archive"));
    empty_->setText(tr("No nights in the archive yet."));
    nights_->setHeaderLabels({tr("Patient"), tr("Date"), tr("Start"), tr("Duration")});
}

void StartPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QWidget::changeEvent(event);
}

void StartPage::setNights(const std::vector<NightInfo> &nights)
{
    nights_->clear();
    for (const NightInfo &n : nights) {
        auto *item = new QTreeWidgetItem(nights_);
        item->setText(PatientColumn, NightListModel::patientText(n));
        item->setText(DateColumn, n.summary.start.left(10));
        item->setText(StartColumn, n.summary.start.mid(11, 5));
        item->setText(DurationColumn, NightListModel::durationText(NightListModel::durationSeconds(n.summary)));
        item->setData(PatientColumn, kNightRole, n.night);
    }
    empty_->setVisible(nights.empty());
    nights_->setVisible(!nights.empty());
}

void StartPage::chooseItem(QTreeWidgetItem *item)
{
    if (item)
        Q_EMIT nightChosen(item->data(PatientColumn, kNightRole).toLongLong());
}
