#pragma once

#include <QString>

#include <optional>

class QWidget;
class SaveFileDialog;

// The window's save dialog object: one filter, a title set before each use, and the file
// name chosen last, offered again the next time.
class CommonDialog final
{
public:
    CommonDialog(SaveFileDialog &dialog, QString filter);

    void setTitle(const QString &title) { m_title = title; }
    QString fileName() const { return m_fileName; }

    // The chosen path, or nothing when the user cancelled.
    std::optional<QString> showSave(QWidget *parent);

private:
    SaveFileDialog &m_dialog;
    QString m_filter;
    QString m_title;
    QString m_fileName;
};
