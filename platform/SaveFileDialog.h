#pragma once

#include <QString>

#include <optional>

class QWidget;

// A modal save-file dialog: the chosen path, or nothing when the user cancelled.
class SaveFileDialog
{
public:
    virtual ~SaveFileDialog() = default;
    virtual std::optional<QString> ask(QWidget *parent, const QString &title, const QString &filter,
                                       const QString &initialPath) = 0;
};

// The desktop's own dialog. No default suffix: a name typed without one is kept as typed.
class QtSaveFileDialog final : public SaveFileDialog
{
public:
    std::optional<QString> ask(QWidget *parent, const QString &title, const QString &filter,
                               const QString &initialPath) override;
};
