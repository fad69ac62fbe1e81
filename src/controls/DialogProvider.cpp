#include "controls/DialogProvider.h"

#include <QColorDialog>
#include <QFileDialog>

std::optional<FileDialogAnswer> QtDialogProvider::RunFileDialog(const FileDialogRequest& request)
{
    QFileDialog dialog(request.owner, request.title, request.directory);
    // Each filter ends in its patterns in brackets of their own; the user sees the text before
    // them, as the caller wrote it.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(request.nameFilters);
    if (request.selectedFilter >= 0 && request.selectedFilter < request.nameFilters.size())
        dialog.selectNameFilter(request.nameFilters.at(request.selectedFilter));
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (request.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    } else {
        dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles
                                            : QFileDialog::ExistingFile);
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    FileDialogAnswer answer;
    answer.files = dialog.selectedFiles();
    answer.selectedFilter = std::max<int>(0, request.nameFilters.indexOf(
                                                 dialog.selectedNameFilter()));
    answer.directory = dialog.directory().absolutePath();
    return answer;
}

std::optional<QColor> QtDialogProvider::RunColorDialog(QWidget* owner, const QColor& initial,
                                                       QList<QColor>& customColors)
{
    // Qt keeps one custom colour table per process; the caller's table is lent to it for the
    // time the dialog is open, so each caller keeps its own.
    const int count = std::min<int>(QColorDialog::customCount(), customColors.size());
    for (int i = 0; i < count; ++i)
        QColorDialog::setCustomColor(i, customColors.at(i));
    const QColor chosen = QColorDialog::getColor(initial, owner);
    for (int i = 0; i < count; ++i)
        customColors[i] = QColorDialog::customColor(i);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

std::optional<QString> QtDialogProvider::RunFolderDialog(QWidget* owner, const QString& title)
{
    const QString folder = QFileDialog::getExistingDirectory(owner, title, QString(),
                                                             QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}
