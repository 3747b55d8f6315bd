#pragma once

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QObject>
#include <QPointer>

// Ctrl+Return in a text box clicks a button, as the mouse would: a disabled button stays
// unclicked, and the box keeps Return for its own line breaks.
class CtrlReturnClicks final : public QObject
{
public:
    CtrlReturnClicks(QWidget *box, QAbstractButton *button)
        : QObject(box)
        , m_button(button)
    {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool ctrlReturn = (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                                (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
        if (!ctrlReturn || !m_button)
            return false;
        m_button->click();
        return true;
    }

private:
    QPointer<QAbstractButton> m_button;
};
