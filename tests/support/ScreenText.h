#pragma once

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QWidget>

// Text as a screen shows it: a line of Chinese and one of English, in the window's Chinese
// font, each at a size of its own.
inline const QStringList ScreenLines = {QStringLiteral("今天天气很好，我们去公园散步。"),
                                        QStringLiteral("Translate the text on the screen")};

// A white picture of size, ScreenLines at its top left unless bare.
inline QImage ScreenPicture(QSize size, bool bare = false,
                            QImage::Format format = QImage::Format_RGB32)
{
    QImage picture(size, format);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    for (qsizetype i = 0; !bare && i < ScreenLines.size(); ++i) {
        font.setPixelSize(int(36 - 16 * i));
        painter.setFont(font);
        painter.drawText(20, int(50 + 60 * i), ScreenLines[i]);
    }
    return picture;
}

inline QByteArray Png(const QImage &picture)
{
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    picture.save(&png, "PNG");
    return png.data();
}

// The frozen screen that bremo --screen shows, once it shows.
inline QWidget *FrozenScreen()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QStringLiteral("frozenScreen") && widget->isVisible())
            return widget;
    }
    return nullptr;
}
