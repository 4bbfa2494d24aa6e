// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/HelpWindow.h"

#include "help/Manual.h"
#include "help/ManualBrowser.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTextBlock>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace
{
constexpr int kBlockRole = Qt::UserRole;
}

HelpWindow::HelpWindow(int languageId, QWidget *parent) : QWidget(parent, Qt::Window), languageId_(languageId)
{
    setWindowTitle(tr("Quellix manual"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(1000, 720);

    browser_ = new ManualBrowser(this);
    QFile page(Manual::resource(languageId));
    if (page.open(QIODevice::ReadOnly))
        browser_->setHtml(QString::fromUtf8(page.readAll()));

    // A search box, not a typed value: pasting a word into it is wanted.
    search_ = new QLineEdit(this);
    search_->setPlaceholderText(tr("Search"));
    search_->setClearButtonEnabled(true);
    status_ = new QLabel(this);

    contents_ = new QTreeWidget(this);
    contents_->setHeaderHidden(true);
    contents_->setRootIsDecorated(false);
    buildContents();

    auto *browserLink = new QLabel(QStringLiteral("<a href=\"browser\">%1</a>").arg(tr("Open in browser")), this);
    browserLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);

    auto *side = new QWidget(this);
    auto *sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(search_);
    sideLayout->addWidget(status_);
    sideLayout->addWidget(contents_, 1);
    sideLayout->addWidget(browserLink);

    auto *splitter = new QSplitter(this);
    splitter->addWidget(side);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 740});
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(splitter);

    connect(contents_, &QTreeWidget::itemActivated, this, &HelpWindow::showSection);
    connect(contents_, &QTreeWidget::itemClicked, this, &HelpWindow::showSection);
    connect(search_, &QLineEdit::textEdited, this, [this](const QString &text) {
        // Typing searches again from the top of the page.
        browser_->moveCursor(QTextCursor::Start);
        find(text);
    });
    connect(search_, &QLineEdit::returnPressed, this, [this] { find(search_->text()); });
    connect(browserLink, &QLabel::linkActivated, this, [this] { Q_EMIT openInBrowserRequested(languageId_); });

    auto *focusSearch = new QShortcut(QKeySequence::Find, this);
    connect(focusSearch, &QShortcut::activated, this, [this] {
        search_->setFocus();
        search_->selectAll();
    });
    auto *next = new QShortcut(QKeySequence::FindNext, this);
    connect(next, &QShortcut::activated, this, [this] { find(search_->text()); });
    auto *previous = new QShortcut(QKeySequence::FindPrevious, this);
    connect(previous, &QShortcut::activated, this, [this] { find(search_->text(), true); });
    auto *close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

void HelpWindow::buildContents()
{
    QTreeWidgetItem *chapter = nullptr;
    for (QTextBlock block = browser_->document()->begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level != 2 && level != 3)
            continue;
        QTreeWidgetItem *item = nullptr;
        if (level == 3 && chapter)
            item = new QTreeWidgetItem(chapter);
        else
            item = new QTreeWidgetItem(contents_);
        if (level == 2)
            chapter = item;
        item->setText(0, block.text().simplified());
        item->setData(0, kBlockRole, block.position());
    }
    contents_->expandAll();
}

void HelpWindow::showSection(QTreeWidgetItem *item)
{
    if (!item)
        return;
    QTextCursor cursor(browser_->document());
    cursor.setPosition(item->data(0, kBlockRole).toInt());
    browser_->setTextCursor(cursor);
    const QRectF box = browser_->document()->documentLayout()->blockBoundingRect(cursor.block());
    browser_->verticalScrollBar()->setValue(int(box.top()));
}

void HelpWindow::markAll(const QString &text)
{
    QList<QTextEdit::ExtraSelection> marks;
    if (!text.isEmpty()) {
        QTextCharFormat format;
        format.setBackground(QColor(255, 230, 120));
        QTextCursor at(browser_->document());
        while (!(at = browser_->document()->find(text, at)).isNull())
            marks.append({at, format});
    }
    browser_->setExtraSelections(marks);
}

bool HelpWindow::find(const QString &text, bool backward)
{
    markAll(text);
    status_->clear();
    if (text.isEmpty())
        return false;
    const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    QTextDocument *doc = browser_->document();
    QTextCursor found = doc->find(text, browser_->textCursor(), flags);
    if (found.isNull()) {
        QTextCursor wrap(doc);
        wrap.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        found = doc->find(text, wrap, flags);
    }
    if (found.isNull()) {
        status_->setText(tr("Not found"));
        return false;
    }
    browser_->setTextCursor(found);
    browser_->ensureCursorVisible();
    return true;
}
