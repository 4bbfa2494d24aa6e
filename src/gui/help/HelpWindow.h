// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class ManualBrowser;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

// The "Quellix manual" window: the manual of one language with its contents,
// a search field and a link that opens the same manual in a web browser.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    // The caller makes sure the manual of languageId exists (Manual::exists).
    explicit HelpWindow(int languageId, QWidget *parent = nullptr);

    int languageId() const { return languageId_; }
    QTreeWidget *contents() const { return contents_; }
    ManualBrowser *browser() const { return browser_; }
    QLineEdit *searchField() const { return search_; }
    QLabel *searchStatus() const { return status_; }

    // Selects the next (or previous) place holding text, wrapping round at the
    // end, and marks every other place; false when the manual has none.
    bool find(const QString &text, bool backward = false);
    // Scrolls the page so the heading of a contents item is at the top.
    void showSection(QTreeWidgetItem *item);

Q_SIGNALS:
    void openInBrowserRequested(int languageId);

private:
    void buildContents();
    void markAll(const QString &text);

    int languageId_;
    ManualBrowser *browser_ = nullptr;
    QTreeWidget *contents_ = nullptr;
    QLineEdit *search_ = nullptr;
    QLabel *status_ = nullptr;
};
