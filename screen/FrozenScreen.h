#pragma once

#include <QPixmap>
#include <QPoint>
#include <QWidget>

#include <optional>

class QScreen;

// One screen, frozen: its picture full-screen, and the rectangle being dragged on it.
class FrozenScreen final : public QWidget
{
    Q_OBJECT

public:
    FrozenScreen(QScreen *screen, const QPixmap &shot);

Q_SIGNALS:
    void picked(const QImage &picture);
    void cancelled();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QRect dragged() const;

    QPixmap m_shot;
    std::optional<QPoint> m_start;
    QPoint m_end;
};
