// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// The caption-less "Deleting Data ..." window shown while the device erases.
class DeletingDataWindow : public QWidget
{
    Q_OBJECT
public:
    DeletingDataWindow();
    // Centres the window on the screen, shows it and paints it at once.
    void showCentred();
};
