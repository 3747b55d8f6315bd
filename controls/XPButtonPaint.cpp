#include "XPButton.h"

#include "Twips.h"

#include <QFontMetricsF>
#include <QPainter>

#include <array>

using namespace Qt::StringLiterals;

namespace {

// A length in twips that may grow with the control: perExtent times the control's width
// (or height) plus a fixed part.
struct Length
{
    float perExtent;
    float fixed;

    float resolve(float extent) const { return perExtent * extent + fixed; }
};

struct Slice
{
    Length x, y, width, height;
    // Source rectangle in twips of the 270 x 315 picture.
    float sourceX, sourceY, sourceWidth, sourceHeight;
};

// Each picture is cut 45 | 180 | 45 twips across and 45 | 225 | 45 down. Frame, rounded
// corners and the warm hover frame lie in the outer bands, which keep their size; only
// the middle bands stretch. Drawn in this order, corners first.
constexpr std::array<Slice, 9> Slices{{
    {{0, 0}, {0, 0}, {0, 45}, {0, 45}, 0, 0, 45, 45},         // top-left corner
    {{1, -45}, {0, 0}, {0, 45}, {0, 45}, 225, 0, 45, 45},     // top-right corner
    {{1, -45}, {1, -45}, {0, 45}, {0, 45}, 225, 270, 45, 45}, // bottom-right corner
    {{0, 0}, {1, -45}, {0, 45}, {0, 45}, 0, 270, 45, 45},     // bottom-left corner
    {{0, 45}, {0, 0}, {1, -90}, {0, 45}, 45, 0, 180, 45},     // top edge
    {{1, -45}, {0, 45}, {0, 45}, {1, -90}, 225, 45, 45, 225}, // right edge
    {{0, 0}, {0, 45}, {0, 45}, {1, -90}, 0, 45, 45, 225},     // left edge
    {{0, 45}, {1, -45}, {1, -90}, {0, 45}, 45, 270, 180, 45}, // bottom edge
    {{0, 45}, {0, 45}, {1, -90}, {1, -90}, 45, 45, 180, 225}, // centre
}};

QRectF toPixels(float x, float y, float width, float height)
{
    return {Twips::toPixels(x), Twips::toPixels(y), Twips::toPixels(width),
            Twips::toPixels(height)};
}

// The picture of look z, or null when the control has none by that number.
const QImage *picture(int z)
{
    static const std::array<QImage, 3> im{
        QImage(u":/xpbutton/im1.png"_s).convertToFormat(QImage::Format_RGB32),
        QImage(u":/xpbutton/im2.png"_s).convertToFormat(QImage::Format_RGB32),
        QImage(u":/xpbutton/im3.png"_s).convertToFormat(QImage::Format_RGB32),
    };
    if (z < 1 || z > int(im.size()))
        return nullptr;
    return &im[z - 1];
}

} // namespace

bool XPButton::PrintB(int z)
{
    const QImage *const look = picture(z);
    if (!look)
        return false;
    matchSurfaceToWidget();
    if (!m_surface.isNull())
        drawLook(*look);
    update();
    Q_EMIT lookPainted(z);
    return true;
}

void XPButton::matchSurfaceToWidget()
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (m_surface.size() == pixels && m_surface.devicePixelRatio() == ratio)
        return;
    m_surface = QImage(pixels, QImage::Format_RGB32);
    m_surface.setDevicePixelRatio(ratio);
    // A new image holds whatever the memory held; the slices cover it, but a fractional
    // scale may leave an edge pixel between them.
    m_surface.fill(palette().color(QPalette::Button));
}

void XPButton::drawLook(const QImage &picture)
{
    QPainter painter(&m_surface);
    // Nearest-pixel scaling keeps the one-pixel frames crisp when a band is stretched.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);

    const float w = Twips::fromPixels(width());
    const float h = Twips::fromPixels(height());
    for (const Slice &slice : Slices) {
        const QRectF target = toPixels(slice.x.resolve(w), slice.y.resolve(h),
                                       slice.width.resolve(w), slice.height.resolve(h));
        // Below 90 twips the middle bands have no extent left; the corners, which overlap
        // then, cover the control alone.
        if (target.isEmpty())
            continue;
        painter.drawImage(
            target, picture,
            toPixels(slice.sourceX, slice.sourceY, slice.sourceWidth, slice.sourceHeight));
    }

    if (m_caption.isEmpty())
        return;
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::ButtonText));
    // Measured as one block (a "\n" starts a new line, each line centred) and centred on
    // the whole control, not on the centre slice; a caption wider than the control is cut
    // off on both sides.
    const QSizeF text = QFontMetricsF(painter.font(), &m_surface).size(0, m_caption);
    const float textX = (w - Twips::fromPixels(text.width())) / 2;
    const float textY = (h - Twips::fromPixels(text.height())) / 2;
    painter.drawText(QRectF(QPointF(Twips::toPixels(textX), Twips::toPixels(textY)), text),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, m_caption);
}
