#include "SaveFileDialog.h"

#include <QFileDialog>

std::optional<QString> QtSaveFileDialog::ask(QWidget *parent, const QString &title,
                                             const QString &filter, const QString &initialPath)
{
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The filter shows by its name alone, as "MP3音频文件".
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (!initialPath.isEmpty())
        dialog.selectFile(initialPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}
