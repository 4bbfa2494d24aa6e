// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class Prompts;
class QPainter;
class RecordStore;

// What the main window needs of a view of the current recording (trend or table,
// and the analysis page later): paging, the roll step, printing, and the page
// readout for the status bar.
class DataView : public QWidget
{
    Q_OBJECT
public:
    explicit DataView(RecordStore &store, QWidget *parent = nullptr);
    ~DataView() override;

    virtual int pageCount() const = 0;
    // Paints page pageIndex as it would look in a window of the given size.
    virtual void renderPage(QPainter &painter, const QSize &size, int pageIndex) = 0;

    RecordStore &store() const { return store_; }
    // The page shown (0-based). A new view starts on the first page: the main
    // window makes a new one whenever the recording or the mode changes.
    int position() const { return position_; }

    // Pages moved by one Page Up / Page Down; 1 for a new view.
    int rollStep() const { return rollStep_; }
    void setRollStep(int step) { rollStep_ = step; }

    // Messages (the roll step refusal, printer failures) go through prompts;
    // without one they are shown in plain message boxes.
    void setPrompts(Prompts *prompts) { prompts_ = prompts; }
    Prompts &prompts();

    // Shows page index and announces it; printing
    // leaves the view on the last page it printed.
    void showPage(int index);

    // Pages a wheel turn moves: -1 up, +1 down, 0 not yet. A notch of a
    // mouse wheel is one page; finer wheels and touchpads add up to a notch.
    int wheelPaging(QPoint angleDelta, Qt::ScrollPhase phase);

public Q_SLOTS:
    // rollStep pages back or forward; Home and End go to the first and the
    // last page the same way.
    void pageUp();
    void pageDown();
    void firstPage();
    void lastPage();
    // Runs the "Set Step" dialog and applies its value to this view.
    virtual void editRollStep();
    virtual void print();
    virtual void printPreview();
    // Repaint after the title, the units or the patient details changed.
    virtual void refresh() { update(); }
    // Emits pageChanged with the shown page and the page count.
    void announcePage();

Q_SIGNALS:
    // The shown page (0-based) and the page count; count 0 when there is nothing.
    void pageChanged(int index, int count);

protected:
    // A view of one fixed page (the analysis page) turns none.
    virtual bool turnsPages() const { return true; }
    // After a turn, before the repaint; the trend view hides its markers here.
    virtual void pageTurned(bool forward) { Q_UNUSED(forward); }
    // The count a forward turn announces; the trend view counts an empty
    // recording as one page there.
    virtual int forwardPageCount() const { return pageCount(); }
    // Page Up, Page Down, Home and End.
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    // Every text of a page is looked up when it is painted: a repaint retranslates.
    void changeEvent(QEvent *event) override;
    // After a resize: keeps the shown page inside the recording and announces a
    // changed page count.
    void keepPageInRange();
    // Forward pages up, backward pages down.
    void wheelEvent(QWheelEvent *event) override;

private:
    void turnBack(int pages);
    void turnForward(int pages);

    int lastAnnouncedCount_ = -1;
    RecordStore &store_;
    int position_ = 0;
    int rollStep_ = 1;
    int wheelRest_ = 0;
    Prompts *prompts_ = nullptr;
};
