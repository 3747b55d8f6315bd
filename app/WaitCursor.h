#pragma once

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

// The busy cursor over the window for as long as the button is disabled, which is as long as
// a translation waits: a wait of up to minutes during which the status line and the result
// box still tell of the last one.
class WaitCursor final : public QObject
{
public:
    explicit WaitCursor(QWidget *button)
        : QObject(button)
    {
        button->installEventFilter(this);
    }
    // A window destroyed during the wait leaves no busy cursor behind.
    ~WaitCursor() override { show(false); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::EnabledChange)
            show(!static_cast<QWidget *>(watched)->isEnabled());
        return false;
    }

private:
    void show(bool busy)
    {
        if (busy == m_shown)
            return;
        m_shown = busy;
        if (busy)
            QGuiApplication::setOverrideCursor(Qt::BusyCursor);
        else
            QGuiApplication::restoreOverrideCursor();
    }

    bool m_shown = false;
};
