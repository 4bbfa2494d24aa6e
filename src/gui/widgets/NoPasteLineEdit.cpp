// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/NoPasteLineEdit.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

NoPasteLineEdit::NoPasteLineEdit(QWidget *parent) : QLineEdit(parent) {}

void NoPasteLineEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_V && (event->modifiers() & Qt::ControlModifier)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void NoPasteLineEdit::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void NoPasteLineEdit::contextMenuEvent(QContextMenuEvent *event)
{
    // A menu opened from the keyboard would offer Paste too.
    event->accept();
}
