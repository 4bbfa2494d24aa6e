// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QImage>
#include <QTextBrowser>

// The page area of the help window: shows the manual and paints its pictures
// on first use instead of reading them from files.
class ManualBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    explicit ManualBrowser(QWidget *parent = nullptr);

    QVariant loadResource(int type, const QUrl &name) override;

private:
    QHash<QString, QImage> pictures_;
};
