#include "XPButton.h"

#include "PropertyBag.h"
#include "Twips.h"

#include <QMouseEvent>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace {

const QString CaptionKey = u"caption"_s;
const QString DefaultCaption = u"0"_s;

// 1530 x 705 twips.
constexpr QSize DesignedSize(102, 47);

} // namespace

XPButton::XPButton(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    // Moves without a button held must arrive too: they bring the hover look.
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(DesignedSize);
    PrintB(Normal);
}

void XPButton::setCaption(QString New_caption)
{
    m_caption = std::move(New_caption);
    PrintB(Normal);
    Q_EMIT PropertyChanged(CaptionKey);
}

void XPButton::UserControl_Resize()
{
    PrintB(Normal);
}

bool XPButton::UserControl_ReadProperties(const PropertyBag &bag)
{
    const QVariant stored = bag.readProperty(CaptionKey, DefaultCaption);
    if (!stored.canConvert<QString>())
        return false;
    m_caption = stored.toString();
    return true;
}

void XPButton::UserControl_WriteProperties(PropertyBag &bag) const
{
    bag.writeProperty(CaptionKey, m_caption, DefaultCaption);
}

QSize XPButton::sizeHint() const
{
    return DesignedSize;
}

void XPButton::showEvent(QShowEvent *)
{
    PrintB(Normal);
}

void XPButton::resizeEvent(QResizeEvent *)
{
    UserControl_Resize();
}

void XPButton::mouseMoveEvent(QMouseEvent *event)
{
    if (isInside(event->position())) {
        if (!m_mouseOver) {
            PrintB(Hover);
            m_mouseOver = true;
        }
        // Asked on every move, so that the capture holds even if something else took it
        // in between; the move that finds the pointer outside is how the control sees it
        // leave.
        grabMouse();
    } else {
        PrintB(Normal);
        m_mouseOver = false;
        releaseMouse();
    }
}

void XPButton::mousePressEvent(QMouseEvent *event)
{
    // Any chord, the left button included, is not a press of the button and cancels the
    // click of an earlier left press.
    if (event->buttons() == Qt::LeftButton) {
        PrintB(Pressed);
        m_leftPressed = true;
    } else {
        m_leftPressed = false;
    }
}

void XPButton::mouseReleaseEvent(QMouseEvent *event)
{
    m_mouseOver = false;
    PrintB(Normal);
    if (isInside(event->position()) && m_leftPressed)
        Q_EMIT Click();
}

void XPButton::paintEvent(QPaintEvent *)
{
    QPainter(this).drawImage(QPointF(0, 0), m_surface);
}

bool XPButton::isInside(QPointF pixels) const
{
    // Inclusive on every side, as the control was designed: a pointer on the right or
    // bottom edge line counts as inside.
    const float x = Twips::fromPixels(pixels.x());
    const float y = Twips::fromPixels(pixels.y());
    const float w = Twips::fromPixels(width());
    const float h = Twips::fromPixels(height());
    return 0 <= x && x <= w && 0 <= y && y <= h;
}
