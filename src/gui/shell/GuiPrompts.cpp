// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/GuiPrompts.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace
{
QString title()
{
    return QStringLiteral("Quellix");
}

QString runFileDialog(QWidget *parent, const Prompts::FileRequest &request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setNameFilter(request.filter);
    // A name typed without an extension takes the one of the chosen type.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString &filter) {
        static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
        const QRegularExpressionMatch m = pattern.match(filter);
        if (m.hasMatch())
            dialog.setDefaultSuffix(m.captured(1));
    });
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (!request.directory.isEmpty())
        dialog.setDirectory(request.directory);
    if (!request.initialName.isEmpty())
        dialog.selectFile(request.initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}
} // namespace

void GuiPrompts::information(const QString &text)
{
    QMessageBox::information(parent_, title(), text);
}

void GuiPrompts::warning(const QString &text)
{
    QMessageBox::warning(parent_, title(), text);
}

void GuiPrompts::warningWithDetail(const QString &text, const QString &detail)
{
    QMessageBox box(QMessageBox::Warning, title(), text, QMessageBox::Ok, parent_);
    box.setInformativeText(detail);
    box.exec();
}

void GuiPrompts::notice(const QString &text)
{
    auto *box = new QMessageBox(QMessageBox::Warning, title(), text, QMessageBox::Ok, parent_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

Prompts::Answer GuiPrompts::question(const QString &text)
{
    const auto b =
        QMessageBox::question(parent_, title(), text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel);
    return b == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

Prompts::Answer GuiPrompts::saveDiscardCancel(const QString &text)
{
    const auto b = QMessageBox::warning(
        parent_, title(), text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (b == QMessageBox::Save)
        return Answer::Save;
    return b == QMessageBox::Discard ? Answer::Discard : Answer::Cancel;
}

QString GuiPrompts::openFileName(const FileRequest &request)
{
    return runFileDialog(parent_, request, QFileDialog::AcceptOpen);
}

QString GuiPrompts::saveFileName(const FileRequest &request)
{
    return runFileDialog(parent_, request, QFileDialog::AcceptSave);
}
