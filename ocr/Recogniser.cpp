#include "Recogniser.h"

#include <QBuffer>
#include <QImageReader>
#include <QLoggingCategory>

#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>

#include <algorithm>
#include <cstring>
#include <memory>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcOcr, "bremo.ocr")

namespace {

// Characters written without spaces between them: Chinese, Japanese kana, and the full-width
// punctuation that goes with them. Korean Hangul is written with spaces and is not among them.
bool IsWrittenUnspaced(QChar c)
{
    const char16_t u = c.unicode();
    return c.script() == QChar::Script_Han || c.script() == QChar::Script_Hiragana ||
           c.script() == QChar::Script_Katakana || (u >= 0x3000 && u <= 0x303F) ||
           (u >= 0xFF00 && u <= 0xFFEF);
}

QString TidyLine(QStringView line)
{
    QString tidy;
    const QString trimmed = line.trimmed().toString();
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        if (trimmed[i].isSpace() && !tidy.isEmpty() && IsWrittenUnspaced(tidy.back())) {
            qsizetype next = i;
            while (trimmed[next].isSpace())
                ++next;
            if (IsWrittenUnspaced(trimmed[next])) {
                i = next - 1;
                continue;
            }
        }
        tidy += trimmed[i];
    }
    return tidy;
}

// The picture in gray inside a margin of its own edge's shade: Tesseract finds no text that
// touches the border of the picture, and a rectangle dragged on the screen often cuts close.
QImage WithMargin(const QImage &picture)
{
    const QImage gray = picture.convertToFormat(QImage::Format_Grayscale8);
    qint64 sum = 0;
    qint64 count = 0;
    for (int y = 0; y < gray.height(); ++y) {
        const uchar *line = gray.constScanLine(y);
        const bool edgeRow = y == 0 || y == gray.height() - 1;
        for (int x = 0; x < gray.width(); x += edgeRow ? 1 : gray.width() - 1) {
            sum += line[x];
            ++count;
            if (gray.width() == 1)
                break;
        }
    }
    const int shade = int(sum / count);
    const int margin = std::max(16, gray.height() / 4);
    QImage framed(gray.width() + 2 * margin, gray.height() + 2 * margin, QImage::Format_Grayscale8);
    framed.fill(QColor::fromRgb(shade, shade, shade));
    for (int y = 0; y < gray.height(); ++y)
        std::memcpy(framed.scanLine(y + margin) + margin, gray.constScanLine(y),
                    size_t(gray.width()));
    return framed;
}

bool Cancelled(void *cancel, int)
{
    return static_cast<const std::atomic_bool *>(cancel)->load();
}

} // namespace

std::variant<QImage, Recognition::Outcome> ReadPicture(const QByteArray &bytes)
{
    if (bytes.size() > MaxPictureBytes)
        return Recognition::Outcome::TooLarge;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QByteArray format = reader.format();
    if (format != "png" && format != "jpeg")
        return Recognition::Outcome::NotAnImage;
    // The header's size, before a single pixel is decoded.
    const QSize size = reader.size();
    if (qint64(size.width()) * size.height() > MaxPicturePixels)
        return Recognition::Outcome::TooLarge;
    QImage picture = reader.read();
    if (picture.isNull()) {
        qCWarning(lcOcr, "the picture cannot be decoded: %ls",
                  qUtf16Printable(reader.errorString()));
        return Recognition::Outcome::NotAnImage;
    }
    return picture;
}

QString TidyRecognisedText(const QString &text)
{
    QStringList lines;
    for (QStringView line : QStringView(text).split(u'\n')) {
        QString tidy = TidyLine(line);
        if (!tidy.isEmpty())
            lines.append(tidy);
    }
    return lines.join(u'\n');
}

Recognition Recognise(const QImage &picture, const OcrModels &models,
                      const std::atomic_bool &cancel)
{
    Recognition recognition;
    recognition.missingModels = models.missing;
    if (picture.isNull())
        return recognition;
    if (qint64(picture.width()) * picture.height() > MaxPicturePixels) {
        recognition.outcome = Recognition::Outcome::TooLarge;
        return recognition;
    }
    if (models.installed.isEmpty()) {
        recognition.outcome = Recognition::Outcome::ModelMissing;
        return recognition;
    }
    tesseract::TessBaseAPI api;
    // Tesseract's own remarks ("Estimating resolution as ...") are no reason for a user.
    api.SetVariable("debug_file", "/dev/null");
    if (api.Init(ModelFolder().toLocal8Bit().constData(),
                 models.installed.join(u'+').toLatin1().constData(),
                 tesseract::OEM_LSTM_ONLY) != 0) {
        qCWarning(lcOcr, "Tesseract cannot load the models %ls from %ls",
                  qUtf16Printable(models.installed.join(u'+')), qUtf16Printable(ModelFolder()));
        recognition.outcome = Recognition::Outcome::ModelMissing;
        return recognition;
    }
    api.SetVariable("preserve_interword_spaces", "1");
    api.SetPageSegMode(tesseract::PSM_AUTO);
    const QImage gray = WithMargin(picture);
    api.SetImage(gray.constBits(), gray.width(), gray.height(), 1, int(gray.bytesPerLine()));
    // Screens carry no resolution; this is what the tesseract command assumes for them.
    api.SetSourceResolution(70);

    tesseract::ETEXT_DESC monitor;
    monitor.cancel = Cancelled;
    monitor.cancel_this = const_cast<std::atomic_bool *>(&cancel);
    const bool finished = !cancel.load() && api.Recognize(&monitor) == 0;
    if (cancel.load()) {
        recognition.outcome = Recognition::Outcome::Cancelled;
        return recognition;
    }
    if (!finished) {
        qCWarning(lcOcr, "Tesseract could not read the %dx%d picture", gray.width(), gray.height());
        return recognition;
    }
    const std::unique_ptr<char[]> text(api.GetUTF8Text());
    recognition.text = TidyRecognisedText(QString::fromUtf8(text.get()));
    recognition.outcome =
        recognition.text.isEmpty() ? Recognition::Outcome::Nothing : Recognition::Outcome::Text;
    return recognition;
}
