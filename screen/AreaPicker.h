#pragma once

#include <QImage>
#include <QObject>

#include <memory>
#include <vector>

class FrozenScreen;

// The desktop frozen as it was, one full-screen overlay per screen at that screen's own
// geometry and scale, on which the user drags a rectangle. Esc or a right-click cancels.
class AreaPicker final : public QObject
{
    Q_OBJECT

public:
    explicit AreaPicker(QObject *parent = nullptr);
    ~AreaPicker() override;

    // False when no screen could be captured; nothing is shown then.
    bool start();
    // The same over a picture of the whole desktop taken before (the portal's, on Wayland).
    bool start(const QImage &desktop);

Q_SIGNALS:
    // What was under the rectangle, at the screen's own pixels; the overlays are gone.
    void picked(const QImage &picture);
    void cancelled();

private:
    bool show();
    void finish();

    std::vector<std::unique_ptr<FrozenScreen>> m_screens;
};
