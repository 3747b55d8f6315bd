// Run as the program is built: turns each window icon PNG into its bare pixels, 8-bit red,
// green, blue and alpha row by row, which the window wraps at start-up without decoding.
// Usage: bremo_icon_pixels INPUT.png OUTPUT.rgba [INPUT.png OUTPUT.rgba ...]
#include <QFile>
#include <QImage>

#include <cstdio>

int main(int argc, char *argv[])
{
    for (int i = 1; i + 1 < argc; i += 2) {
        const QImage image =
            QImage(QString::fromLocal8Bit(argv[i])).convertToFormat(QImage::Format_RGBA8888);
        QFile out(QString::fromLocal8Bit(argv[i + 1]));
        if (image.isNull() || !out.open(QIODevice::WriteOnly) ||
            out.write(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes()) !=
                image.sizeInBytes()) {
            std::fprintf(stderr, "bremo_icon_pixels: cannot turn %s into %s\n", argv[i],
                         argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
