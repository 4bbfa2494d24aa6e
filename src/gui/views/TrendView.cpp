// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/TrendView.h"

#include "views/TrendMarks.h"
#include "views/TrendPainter.h"

#include "model/RecordStore.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

TrendView::TrendView(RecordStore &store, QWidget *parent) : DataView(store, parent)
{
    // Every paint covers the whole window, so nothing is erased first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

int TrendView::pageCount() const
{
    return TrendPageCount(store().currentSampleCount(), samplesPerPage());
}

void TrendView::renderPage(QPainter &painter, const QSize &size, int pageIndex)
{
    const RecordStore &s = store();
    TrendPicture picture;
    picture.samples = s.currentSamples.data();
    picture.sampleCount = s.currentSampleCount();
    picture.viewPosition = pageIndex;
    picture.header = CurrentHeaderContent(s);
    // The readout belongs to the page on screen; other pages print without it.
    if (pageIndex == position() && size == this->size()) {
        picture.cursorDate = cursorDate_;
        picture.cursorTime = cursorTime_;
        picture.cursorSpo2 = cursorSpo2_;
        picture.cursorPulse = cursorPulse_;
        picture.spo2Marker = spo2Marker_;
        picture.pulseMarker = pulseMarker_;
    }
    if (onScreen_) {
        // Hand marks have their own shade; the automatic one covers what is left.
        picture.marked = s.currentMarks;
        const SignalQuality quality = assessSignal(picture.samples, picture.sampleCount, s.currentMarks);
        for (ReadingQuality kind : {ReadingQuality::OutOfRange, ReadingQuality::Spike}) {
            const std::vector<ReadingSpan> spans = qualitySpans(quality, kind);
            picture.artefacts.insert(picture.artefacts.end(), spans.begin(), spans.end());
        }
    }
    PaintTrendPage(painter, size, picture, fonts_);
}

void TrendView::paintEvent(QPaintEvent * /*event*/)
{
    // The widget's backing store is the off-screen picture: it is copied to
    // the screen in one step once the page is complete.
    QPainter p(this);
    // Artefacts are shaded on screen only; printing, preview and PDF call
    // renderPage() directly and keep the plain page.
    onScreen_ = true;
    renderPage(p, size(), position());
    onScreen_ = false;
    if (dragFrom_ >= 0) {
        const TrendLayout l = layout();
        const int x0 = std::clamp(std::min(dragFrom_, dragTo_), l.spo2Plot.left, l.spo2Plot.right);
        const int x1 = std::clamp(std::max(dragFrom_, dragTo_), l.spo2Plot.left, l.spo2Plot.right);
        const QColor selection(0, 90, 200, 60);
        for (const Edges &plot : {l.spo2Plot, l.pulsePlot})
            p.fillRect(QRect(x0, plot.top, x1 - x0 + 1, plot.height()), selection);
    }
}

void TrendView::resizeEvent(QResizeEvent *event)
{
    DataView::resizeEvent(event);
    hideMarkers();
    // A wider window holds more readings per page; stay within the recording.
    keepPageInRange();
}

void TrendView::hideMarkers()
{
    spo2Marker_ = TrendMarker{};
    pulseMarker_ = TrendMarker{};
}

void TrendView::pageTurned(bool forward)
{
    hideMarkers();
    // Paging back keeps the readout; paging forward empties it.
    if (forward) {
        cursorDate_.clear();
        cursorTime_.clear();
        cursorSpo2_.clear();
        cursorPulse_.clear();
    }
}

int TrendView::forwardPageCount() const
{
    // Paging forward counts even an empty recording as one page, and the
    // status bar is told so.
    return std::max(pageCount(), 1);
}

void TrendView::pick(int index, int x)
{
    const SampleRecord &r = store().currentSamples[std::size_t(index)];
    const TrendLayout l = layout();
    cursorDate_ = QString::asprintf("20%02d/%02d/%02d", r.year, r.month, r.day);
    cursorTime_ = QString::asprintf("%02d:%02d:%02d", r.hour, r.minute, r.second);
    cursorSpo2_ = QString::number(r.spo2);
    cursorPulse_ = QString::number(r.pulseRate);
    spo2Marker_ = MarkerAt(l.spo2Plot, x, Spo2CurveY(l, r.spo2));
    pulseMarker_ = MarkerAt(l.pulsePlot, x, PulseCurveY(l, r.pulseRate));
    update();
}

void TrendView::pointAt(QPoint p)
{
    const RecordStore &s = store();
    if (auto index = PickReading(layout(), position(), s.currentSamples.data(), s.currentSampleCount(), p))
        pick(*index, p.x());
}

void TrendView::moveCursor(int direction)
{
    const RecordStore &s = store();
    const auto step = StepCursor(layout(), position(), s.currentSampleCount(), spo2Marker_.x, direction);
    if (!step)
        return;
    if (step->paging < 0)
        pageUp();
    else if (step->paging > 0)
        pageDown();
    // The cursor reads out the reading under its column even where the
    // pointer could not pick it (SpO2 above 100 or 0), so it never sticks.
    if (auto index = SampleAtColumn(layout(), position(), step->cursorX, s.currentSampleCount()))
        pick(*index, step->cursorX);
}

void TrendView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        moveCursor(-1);
        break;
    case Qt::Key_Right:
        moveCursor(1);
        break;
    default:
        DataView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TrendView::mouseMoveEvent(QMouseEvent *event)
{
    if (dragFrom_ >= 0) {
        dragTo_ = event->position().toPoint().x();
        update();
    }
    pointAt(event->position().toPoint());
    DataView::mouseMoveEvent(event);
}

void TrendView::mousePressEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    const TrendLayout l = layout();
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier) &&
        (l.spo2HitArea().contains(p.x(), p.y()) || l.pulseHitArea().contains(p.x(), p.y()))) {
        dragFrom_ = dragTo_ = p.x();
        event->accept();
        return;
    }
    DataView::mousePressEvent(event);
}

void TrendView::mouseReleaseEvent(QMouseEvent *event)
{
    if (dragFrom_ < 0 || event->button() != Qt::LeftButton) {
        DataView::mouseReleaseEvent(event);
        return;
    }
    const int from = dragFrom_;
    const int to = event->position().toPoint().x();
    dragFrom_ = dragTo_ = -1;
    update();
    event->accept();
    const QPoint globalPos = event->globalPosition().toPoint();
    // A click without a drag inside a mark is for clearing it.
    if (from == to && offerClear(to, globalPos))
        return;
    const RecordStore &s = store();
    const auto span = ReadingsBetweenColumns(layout(), position(), from, to, s.currentSampleCount());
    if (!span)
        return;
    QMenu menu(this);
    const QAction *mark = menu.addAction(tr("Mark as artefact"));
    if (menu.exec(globalPos) == mark)
        Q_EMIT markRequested(*span);
}

void TrendView::contextMenuEvent(QContextMenuEvent *event)
{
    if (!offerClear(event->pos().x(), event->globalPos()))
        DataView::contextMenuEvent(event);
}

bool TrendView::offerClear(int x, QPoint globalPos)
{
    const RecordStore &s = store();
    const auto reading = SampleAtColumn(layout(), position(), x, s.currentSampleCount());
    if (!reading)
        return false;
    const auto held = MarkHolding(s.currentMarks, *reading);
    if (!held)
        return false;
    QMenu menu(this);
    const QAction *clear = menu.addAction(tr("Clear artefact mark"));
    if (menu.exec(globalPos) == clear)
        Q_EMIT clearMarkRequested(*held);
    return true;
}
