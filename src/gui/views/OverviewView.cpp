// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/OverviewView.h"

#include "views/OverviewPainter.h"

#include "app/Settings.h"
#include "archive/ArchiveAccess.h"
#include "model/RecordStore.h"

#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include <array>

namespace
{

constexpr std::array<const char *, kOverviewPeriods> kPeriodNames = {
    QT_TRANSLATE_NOOP("OverviewView", "Last 7 nights"),  QT_TRANSLATE_NOOP("OverviewView", "Last 30 nights"),
    QT_TRANSLATE_NOOP("OverviewView", "Last 90 nights"), QT_TRANSLATE_NOOP("OverviewView", "Last 365 nights"),
    QT_TRANSLATE_NOOP("OverviewView", "All nights"),     QT_TRANSLATE_NOOP("OverviewView", "From - to"),
};

constexpr OverviewPeriod kDefaultPeriod = OverviewPeriod::Last30;

QDateEdit *dateEdit(QWidget *parent)
{
    auto *edit = new QDateEdit(parent);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit->setCalendarPopup(true);
    return edit;
}

} // namespace

OverviewView::OverviewView(RecordStore &store, ArchiveAccess &archive, QWidget *parent)
    : DataView(store, parent), archive_(archive)
{
    setObjectName(QStringLiteral("overviewView"));
    patientLabel_ = new QLabel(this);
    patient_ = new QComboBox(this);
    patient_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    periodLabel_ = new QLabel(this);
    period_ = new QComboBox(this);
    for (int p = 0; p < kOverviewPeriods; ++p)
        period_->addItem(QString(), p);
    fromLabel_ = new QLabel(this);
    from_ = dateEdit(this);
    toLabel_ = new QLabel(this);
    to_ = dateEdit(this);
    auto *choice = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{patientLabel_, patient_, periodLabel_, period_, fromLabel_,
                                                       from_, toLabel_, to_})
        choice->addWidget(w);
    choice->addStretch(1);

    chart_ = new QWidget(this);
    chart_->setObjectName(QStringLiteral("overviewChart"));
    chart_->setAttribute(Qt::WA_OpaquePaintEvent);
    chart_->installEventFilter(this);
    message_ = new QLabel(this);
    message_->setAlignment(Qt::AlignCenter);
    message_->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addWidget(chart_, 1);
    layout->addWidget(message_, 1);

    connect(patient_, &QComboBox::currentIndexChanged, this, &OverviewView::applyChoice);
    connect(period_, &QComboBox::currentIndexChanged, this, &OverviewView::applyChoice);
    connect(from_, &QDateEdit::dateChanged, this, &OverviewView::applyChoice);
    connect(to_, &QDateEdit::dateChanged, this, &OverviewView::applyChoice);

    retranslateUi();
    const Settings settings;
    const int stored = settings.overviewPeriod();
    filling_ = true;
    period_->setCurrentIndex(stored >= 0 && stored < kOverviewPeriods ? stored : int(kDefaultPeriod));
    if (period_->currentIndex() == int(OverviewPeriod::Dates)) {
        from_->setDate(settings.overviewFrom());
        to_->setDate(settings.overviewTo());
    }
    filling_ = false;
    reload();
}

void OverviewView::retranslateUi()
{
    patientLabel_->setText(tr("Patient:"));
    periodLabel_->setText(tr("Period:"));
    fromLabel_->setText(tr("From:"));
    toLabel_->setText(tr("To:"));
    for (int p = 0; p < kOverviewPeriods; ++p)
        period_->setItemText(p, tr(kPeriodNames[std::size_t(p)]));
    for (int i = 0; i < patient_->count() && i < int(patients_.size()); ++i)
        patient_->setItemText(i, patients_[std::size_t(i)].text());
    if (!readError_.isEmpty())
        message_->setText(tr("The archive of recordings could not be read.") + QLatin1Char('\n') + readError_);
    else if (patients_.empty())
        message_->setText(tr("The archive holds no nights yet. Nights come into it with each download, or with File > "
                             "Import into archive..."));
    else
        message_->setText(tr("No night of this patient falls in the period."));
}

void OverviewView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    DataView::changeEvent(event);
}

void OverviewView::reload()
{
    readError_.clear();
    std::optional<std::vector<NightInfo>> nights = archive_.list(&readError_);
    nights_ = nights ? std::move(*nights) : std::vector<NightInfo>{};
    fillPatients();
    applyChoice();
}

void OverviewView::fillPatients()
{
    // The patient on show stays chosen; at first, the one chosen last time.
    OverviewPatient keep = chosenPatient();
    if (patient_->currentIndex() < 0) {
        const Settings settings;
        keep = {settings.overviewPatientId(), settings.overviewPatientName()};
    }
    patients_ = overviewPatients(nights_);
    filling_ = true;
    patient_->clear();
    int current = 0;
    for (std::size_t i = 0; i < patients_.size(); ++i) {
        patient_->addItem(patients_[i].text());
        if (patients_[i] == keep)
            current = int(i);
    }
    patient_->setCurrentIndex(patients_.empty() ? -1 : current);
    filling_ = false;
}

OverviewPatient OverviewView::chosenPatient() const
{
    const int i = patient_->currentIndex();
    return i >= 0 && i < int(patients_.size()) ? patients_[std::size_t(i)] : OverviewPatient{};
}

void OverviewView::applyChoice()
{
    if (filling_)
        return;
    const bool dates = period_->currentIndex() == int(OverviewPeriod::Dates);
    from_->setEnabled(dates);
    to_->setEnabled(dates);
    const OverviewPatient patient = chosenPatient();
    const NightList nights = overviewNightsOf(nights_, patient);
    const auto period = OverviewPeriod(std::max(period_->currentIndex(), 0));
    const OverviewRange range = overviewRange(nights, period, from_->date(), to_->date());
    data_ = buildOverview(nights, range.from, range.to, patient_->currentIndex() >= 0 ? patient.text() : QString());

    const bool any = !data_.nights.empty();
    chart_->setVisible(any);
    message_->setVisible(!any);
    retranslateUi();
    if (!patients_.empty()) {
        Settings settings;
        settings.setOverviewPatient(patient.deviceId, patient.name);
        settings.setOverviewPeriod(int(period));
        if (dates)
            settings.setOverviewDates(from_->date(), to_->date());
    }
    if (!dates && any) {
        // The date fields tell which dates the period covers.
        filling_ = true;
        from_->setDate(data_.from);
        to_->setDate(data_.to);
        filling_ = false;
    }
    chart_->update();
    announcePage();
}

int OverviewView::pageCount() const
{
    return data_.nights.empty() ? 0 : 1;
}

void OverviewView::renderPage(QPainter &painter, const QSize &size, int /*pageIndex*/)
{
    OverviewPaintOptions options;
    options.forPrint = true;
    options.title = store().reportTitle;
    paintOverview(painter, QSizeF(size), data_, options);
}

bool OverviewView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != chart_)
        return DataView::eventFilter(watched, event);
    if (event->type() == QEvent::Paint) {
        QPainter painter(chart_);
        painter.fillRect(chart_->rect(), Qt::white);
        paintOverview(painter, QSizeF(chart_->size()), data_, {});
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        if (const std::optional<qint64> night = overviewNightAt(QSizeF(chart_->size()), data_, mouse->position()))
            Q_EMIT nightChosen(*night);
        return true;
    }
    return false;
}
