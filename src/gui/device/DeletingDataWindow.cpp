// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DeletingDataWindow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

DeletingDataWindow::DeletingDataWindow()
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("deletingData"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto *label = new QLabel(tr("Deleting Data ..."), this);
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() * 1.3);
    label->setFont(f);
    label->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 24, 40, 24);
    layout->addWidget(label);
    setAutoFillBackground(true);
}

void DeletingDataWindow::showCentred()
{
    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect r = rect();
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
    show();
    raise();
    repaint();
}
