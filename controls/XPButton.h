#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

class PropertyBag;

// A push button drawn from three designed-in pictures, with its caption centred on top. It
// shows the normal look, the hover look while the pointer is over it and the pressed look
// while the left button alone is held on it, and emits Click for a left-button click.
//
// Notifications from the host: created is the constructor; shown, resized, mouse moved,
// down and up are Qt's show, resize and mouse events; the host click is a mouse release
// with the pointer inside the control (Qt delivers a release only to the widget that took
// the press or holds the grab). A double click counts as two presses and two clicks. The
// stored-property notifications have no Qt counterpart, so the host calls them itself.
//
// The control takes no keyboard focus and ignores keys.
class XPButton final : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)

public:
    enum Look : int
    {
        Normal = 1,
        Hover = 2,
        Pressed = 3
    };

    explicit XPButton(QWidget *parent = nullptr);

    QString Caption() const { return m_caption; }
    // Stores the caption, paints the normal look with it, then emits PropertyChanged.
    void setCaption(QString New_caption);
    // Paints the normal look; hosts call it to force a repaint.
    void UserControl_Resize();
    // Redraws the whole control in look z (1 normal, 2 hover, 3 pressed) with the caption
    // centred in the widget's font and ButtonText colour. Any other z draws nothing and
    // gives false.
    bool PrintB(int z);

    // A new instance without stored properties keeps its empty caption.
    void UserControl_InitProperties() {}
    // Restores the caption ("0" when none is stored) without repainting; the next paint
    // shows it. False, with the caption unchanged, when the stored value has no text form.
    [[nodiscard]] bool UserControl_ReadProperties(const PropertyBag &bag);
    void UserControl_WriteProperties(PropertyBag &bag) const;

    bool mouseOver() const { return m_mouseOver; }
    bool leftPressed() const { return m_leftPressed; }

    QSize sizeHint() const override;

Q_SIGNALS:
    void Click();
    // A stored property changed; the host's saved properties are out of date.
    void PropertyChanged(const QString &name);
    // PrintB has drawn look z.
    void lookPainted(int z);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool isInside(QPointF pixels) const;
    void matchSurfaceToWidget();
    void drawLook(const QImage &picture);

    QString m_caption;
    bool m_mouseOver = false;
    bool m_leftPressed = false;
    // The last look drawn; paint events only show it, so it survives being covered.
    QImage m_surface;
};
