// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/Archive.h"

#include <QWidget>

#include <vector>

class QAction;
class QCommandLinkButton;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

// What the window offers while no recording is open: the two ways in, each
// with its shortcut, and the latest nights of the archive.
class StartPage : public QWidget
{
    Q_OBJECT
public:
    // The buttons trigger these actions and show their shortcuts.
    StartPage(QAction *download, QAction *open, QWidget *parent = nullptr);

    // Newest first.
    void setNights(const std::vector<NightInfo> &nights);

    QCommandLinkButton *downloadButton() const { return download_; }
    QCommandLinkButton *openButton() const { return open_; }
    QTreeWidget *nightList() const { return nights_; }

Q_SIGNALS:
    void nightChosen(qint64 night);

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();
    void chooseItem(QTreeWidgetItem *item);

    QAction *downloadAction_;
    QAction *openAction_;
    QCommandLinkButton *download_ = nullptr;
    QCommandLinkButton *open_ = nullptr;
    QLabel *recentTitle_ = nullptr;
    QLabel *empty_ = nullptr;
    QTreeWidget *nights_ = nullptr;
};
