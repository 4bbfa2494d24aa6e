#pragma once

#include "views/DataView.h"

// Placeholder until the trend view is drawn.
class CQX740TrendView : public DataView {
    Q_OBJECT
public:
    explicit CQX740TrendView(RecordStore &store, QWidget *parent = nullptr);

    int pageCount() const override { return 1; }
    void renderPage(QPainter &painter, const QSize &size, int pageIndex) override;

public Q_SLOTS:
    void pageUp() override {}
    void pageDown() override {}
    void editRollStep() override {}
    void print() override {}
    void printPreview() override {}

protected:
    void paintEvent(QPaintEvent *event) override;
};
