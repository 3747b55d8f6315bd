// The entries of the bremo-ocr module: the text of a picture for script mode (--image), and
// the recognition itself for the window.
#include "PictureText.h"

#include "LanguageCatalogue.h"
#include "Recogniser.h"

#include <QFile>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

void Say(const QString &reason)
{
    std::fputs(qPrintable(u"bremo: "_s + reason + u'\n'), stderr);
}

// At most one byte over the cap, so that a larger picture is known to be one without reading
// all of it.
std::optional<QByteArray> ReadBytes(const QString &name)
{
    QFile file(name);
    const bool opened =
        name == u"-"_s ? file.open(stdin, QIODevice::ReadOnly) : file.open(QIODevice::ReadOnly);
    QByteArray bytes = opened ? file.read(MaxPictureBytes + 1) : QByteArray();
    if (!opened || file.error() != QFileDevice::NoError) {
        Say(u"cannot read %1: %2"_s.arg(name, file.errorString()));
        return std::nullopt;
    }
    return bytes;
}

} // namespace

extern "C" Q_DECL_EXPORT std::optional<QString> BremoPictureText(const PrintJob &job)
{
    static_assert(std::is_same_v<decltype(&BremoPictureText), PictureEntry>);
    const auto bytes = ReadBytes(job.imageFile);
    if (!bytes)
        return std::nullopt;
    const auto picture = ReadPicture(*bytes);
    Recognition recognition;
    if (const auto *outcome = std::get_if<Recognition::Outcome>(&picture)) {
        recognition.outcome = *outcome;
    } else {
        const QString code = LanguageCatalogue::build().codes.value(job.sourcePosition);
        const OcrModels models = ModelsFor(code);
        for (const QString &model : models.missing)
            Say(u"the Tesseract model %1 is not installed (package %2)"_s.arg(model,
                                                                              ModelPackage(model)));
        recognition = Recognise(std::get<QImage>(picture), models, std::atomic_bool(false));
    }
    switch (recognition.outcome) {
    case Recognition::Outcome::Text:
        return recognition.text;
    case Recognition::Outcome::Nothing:
        Say(u"no text was recognised in the picture"_s);
        break;
    case Recognition::Outcome::NotAnImage:
        Say(u"%1 is not a PNG or JPEG picture"_s.arg(job.imageFile));
        break;
    case Recognition::Outcome::TooLarge:
        Say(u"the picture is too large to recognise: at most %1 pixels and %2 MiB"_s
                .arg(MaxPicturePixels)
                .arg(MaxPictureBytes / (1024 * 1024)));
        break;
    case Recognition::Outcome::ModelMissing:
        Say(u"no Tesseract model can read the picture"_s);
        break;
    case Recognition::Outcome::Cancelled:
        break;
    }
    return std::nullopt;
}

extern "C" Q_DECL_EXPORT Recognition BremoRecognise(const QImage &picture, const OcrModels &models,
                                                    const std::atomic_bool &cancel)
{
    static_assert(std::is_same_v<decltype(&BremoRecognise), RecogniseFunction>);
    return Recognise(picture, models, cancel);
}
