#include "Form1.h"

#include "AreaPicker.h"
#include "LanguageCatalogue.h"
#include "PortalScreenshot.h"
#include "RecognitionJob.h"
#include "ScreenGrab.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace {

const QString RecognitionName = u"screenRecognition"_s;
const QString PickerName = u"screenAreaPicker"_s;

QString OutcomeStatus(Recognition::Outcome outcome)
{
    switch (outcome) {
    case Recognition::Outcome::Nothing:
        return u"所选区域中没有识别到文字..."_s;
    case Recognition::Outcome::TooLarge:
        return u"所选区域太大,无法识别其中的文字..."_s;
    case Recognition::Outcome::Cancelled:
        return u"您取消了屏幕取词..."_s;
    case Recognition::Outcome::ModelMissing:
        return u"未安装文字识别模型,请先安装 tesseract-ocr-eng..."_s;
    case Recognition::Outcome::NotAnImage:
    case Recognition::Outcome::Text:
        break;
    }
    return u"无法截取屏幕画面..."_s;
}

QString CaptureStatus(PortalScreenshot::Failure failure)
{
    switch (failure) {
    case PortalScreenshot::Failure::Refused:
        return u"截屏请求被拒绝,无法识别屏幕上的文字..."_s;
    case PortalScreenshot::Failure::NoPortal:
        return u"桌面没有提供截屏服务(xdg-desktop-portal),无法识别屏幕上的文字..."_s;
    case PortalScreenshot::Failure::Unreadable:
        break;
    }
    return OutcomeStatus(Recognition::Outcome::NotAnImage);
}

// Only the desktop portal may show a Wayland program the screen.
bool ThroughPortal()
{
    return QGuiApplication::platformName().startsWith(u"wayland"_s);
}

// area of the desktop picture, which may be at a larger scale than the desktop's coordinates.
QImage AreaOf(const QImage &desktop, const QRect &area)
{
    const QRect whole = QGuiApplication::primaryScreen()->virtualGeometry();
    const qreal scale = whole.isEmpty() ? 1.0 : qreal(desktop.width()) / whole.width();
    const QRect part = area.translated(-whole.topLeft());
    return desktop.copy(QRectF(part.topLeft() * scale, part.size() * scale).toRect());
}

} // namespace

void Form1::translateScreenArea(const QRect &area)
{
    const auto recognise = [this](const QImage &picture) {
        // A newer area replaces one that is still being read.
        delete findChild<RecognitionJob *>(RecognitionName, Qt::FindDirectChildrenOnly);
        const QString code =
            LanguageCatalogue::build().codes.value(m_combo1->currentIndex(), u"zh-CN"_s);
        const OcrModels models = ModelsFor(code);
        QStringList unsaid;
        for (const QString &model : models.missing) {
            if (!m_modelsSaidMissing.contains(model))
                unsaid.append(ModelPackage(model));
        }
        m_modelsSaidMissing += models.missing;
        setStatus(unsaid.isEmpty() || models.installed.isEmpty()
                      ? u"正在识别屏幕上的文字..."_s
                      : u"未安装 "_s + unsaid.join(u' ') + u",只识别其中的英文..."_s);
        auto *job = new RecognitionJob(m_environment.recognise, this);
        job->setObjectName(RecognitionName);
        connect(job, &RecognitionJob::finished, this, [this, job](const Recognition &recognition) {
            job->deleteLater();
            if (recognition.outcome == Recognition::Outcome::Text)
                translateText(recognition.text);
            else
                setStatus(OutcomeStatus(recognition.outcome));
        });
        job->start(picture, models);
    };
    if (!area.isEmpty() && ThroughPortal()) {
        auto *portal = new PortalScreenshot(this);
        connect(portal, &PortalScreenshot::taken, this,
                [portal, area, recognise](const QImage &desktop) {
                    portal->deleteLater();
                    recognise(AreaOf(desktop, area));
                });
        connect(portal, &PortalScreenshot::failed, this,
                [this, portal](PortalScreenshot::Failure failure) {
                    portal->deleteLater();
                    setStatus(CaptureStatus(failure));
                });
        portal->take();
        return;
    }
    if (!area.isEmpty()) {
        const QImage picture = GrabScreenArea(area);
        if (picture.isNull())
            setStatus(OutcomeStatus(Recognition::Outcome::NotAnImage));
        else
            recognise(picture);
        return;
    }
    // The user drags the area on the frozen screens; one pick at a time.
    if (findChild<AreaPicker *>(PickerName, Qt::FindDirectChildrenOnly))
        return;
    auto *picker = new AreaPicker(this);
    picker->setObjectName(PickerName);
    connect(picker, &AreaPicker::picked, this, [picker, recognise](const QImage &picture) {
        picker->deleteLater();
        recognise(picture);
    });
    connect(picker, &AreaPicker::cancelled, this, [this, picker] {
        picker->deleteLater();
        setStatus(OutcomeStatus(Recognition::Outcome::Cancelled));
    });
    if (ThroughPortal()) {
        // The picker is there while the portal asks, so a second --screen meanwhile starts no
        // second pick.
        auto *portal = new PortalScreenshot(picker);
        connect(portal, &PortalScreenshot::taken, picker, [this, picker](const QImage &desktop) {
            if (!picker->start(desktop)) {
                picker->deleteLater();
                setStatus(OutcomeStatus(Recognition::Outcome::NotAnImage));
            }
        });
        connect(portal, &PortalScreenshot::failed, picker,
                [this, picker](PortalScreenshot::Failure failure) {
                    picker->deleteLater();
                    setStatus(CaptureStatus(failure));
                });
        portal->take();
    } else if (!picker->start()) {
        delete picker;
        setStatus(OutcomeStatus(Recognition::Outcome::NotAnImage));
    }
}
