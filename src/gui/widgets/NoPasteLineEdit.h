// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

// The edit field of the program's dialogs: Ctrl+V and the right button do
// nothing, so values are typed rather than pasted. Shift+Insert still pastes,
// as it always has.
class NoPasteLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit NoPasteLineEdit(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
};
