// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/AboutDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

namespace
{
QPixmap logo()
{
    QPixmap pm(64, 64);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(40, 110, 170));
    p.setPen(Qt::NoPen);
    p.drawEllipse(4, 4, 56, 56);
    p.setPen(QPen(Qt::white, 4));
    p.drawPolyline(QPolygon({{12, 34}, {24, 34}, {30, 18}, {36, 46}, {42, 30}, {52, 30}}));
    return pm;
}
} // namespace

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("About "));
    auto *picture = new QLabel(this);
    picture->setPixmap(logo());
    auto *texts = new QVBoxLayout;
    texts->addWidget(new QLabel(QStringLiteral("Quellix"), this));
    texts->addWidget(new QLabel(tr("Ver 3.2.3"), this));
    texts->addWidget(new QLabel(QStringLiteral("2010-07-21"), this));
    auto *row = new QHBoxLayout;
    row->addWidget(picture);
    row->addLayout(texts);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}
