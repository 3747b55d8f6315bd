#include "MessageBoxService.h"

#include <QMessageBox>

MessageBoxService::Answer QtMessageBox::inform(QWidget *parent, const QString &text,
                                               const QString &title, Buttons buttons)
{
    const bool yesNo = buttons == Buttons::YesNo;
    QMessageBox box(QMessageBox::Information, title, text,
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    const int pressed = box.exec();
    if (!yesNo)
        return Answer::Ok;
    // Closing the box by Esc or its close button counts as No: the safe answer.
    return pressed == QMessageBox::Yes ? Answer::Yes : Answer::No;
}
