#pragma once

#include <QWidget>

class QPainter;
class RecordStore;

// What the main window needs of a view of the current recording (trend or table,
// and the analysis page later): paging, the roll step, printing, and the page
// readout for the status bar.
class DataView : public QWidget {
    Q_OBJECT
public:
    explicit DataView(RecordStore &store, QWidget *parent = nullptr) : QWidget(parent), store_(store) {}

    virtual int pageCount() const = 0;
    // Paints page pageIndex as it would look in a window of the given size.
    virtual void renderPage(QPainter &painter, const QSize &size, int pageIndex) = 0;

    RecordStore &store() const { return store_; }

public Q_SLOTS:
    virtual void pageUp() = 0;
    virtual void pageDown() = 0;
    virtual void editRollStep() = 0;
    virtual void print() = 0;
    virtual void printPreview() = 0;
    // Repaint after the title, the units or the patient details changed.
    virtual void refresh() { update(); }

Q_SIGNALS:
    // The shown page (0-based) and the page count; count 0 when there is nothing.
    void pageChanged(int index, int count);

private:
    RecordStore &store_;
};
