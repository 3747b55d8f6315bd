#include "CommonDialog.h"

#include "SaveFileDialog.h"

CommonDialog::CommonDialog(SaveFileDialog &dialog, QString filter)
    : m_dialog(dialog)
    , m_filter(std::move(filter))
{}

std::optional<QString> CommonDialog::showSave(QWidget *parent)
{
    std::optional<QString> chosen = m_dialog.ask(parent, m_title, m_filter, m_fileName);
    if (chosen)
        m_fileName = *chosen;
    return chosen;
}
