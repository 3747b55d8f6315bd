#pragma once

class QWidget;

// Directs all pointer input to one widget until released, so that a control sees the
// pointer leave it. XPButton grabs the mouse by default; tests count the requests instead.
class PointerCapture
{
public:
    virtual ~PointerCapture() = default;

    virtual void setCapture(QWidget &widget) = 0;
    virtual void releaseCapture(QWidget &widget) = 0;
};
