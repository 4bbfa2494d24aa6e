// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

// What the central area shows while no view is open: a tiled background with
// the program's name in light grey in the middle.
class BackgroundView : public QWidget
{
    Q_OBJECT
public:
    explicit BackgroundView(QWidget *parent = nullptr);

    // A colour, when set, wins over the bitmap and hides the name.
    void setBackgroundColour(const QColor &colour);
    void setBitmap(const QPixmap &bitmap);

    static QColor textColour() { return QColor(196, 196, 196); }
    static QPixmap defaultBitmap();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor colour_;
    QPixmap bitmap_;
};
