#pragma once

#include <QString>

class QWidget;

// Modal message boxes, always with the information icon.
class MessageBoxService
{
public:
    enum class Buttons
    {
        Ok,
        YesNo
    };
    enum class Answer
    {
        Ok,
        Yes,
        No
    };

    virtual ~MessageBoxService() = default;
    virtual Answer inform(QWidget *parent, const QString &text, const QString &title,
                          Buttons buttons) = 0;
};

class QtMessageBox final : public MessageBoxService
{
public:
    Answer inform(QWidget *parent, const QString &text, const QString &title,
                  Buttons buttons) override;
};
