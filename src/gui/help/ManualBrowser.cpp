// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/ManualBrowser.h"

#include "help/ManualPictures.h"

#include <QTextDocument>
#include <QUrl>

ManualBrowser::ManualBrowser(QWidget *parent) : QTextBrowser(parent)
{
    // Links to the web go to the browser; links inside the manual stay here.
    setOpenExternalLinks(true);
}

QVariant ManualBrowser::loadResource(int type, const QUrl &name)
{
    if (type == QTextDocument::ImageResource) {
        const QString file = name.fileName();
        if (ManualPictures::names().contains(file)) {
            auto it = pictures_.find(file);
            if (it == pictures_.end())
                it = pictures_.insert(file, ManualPictures::render(file));
            return *it;
        }
    }
    return QTextBrowser::loadResource(type, name);
}
