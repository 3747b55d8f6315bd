// Recognition apart from where its pictures come from: Tesseract's text made fit for the
// source box, and a recognition on a worker thread, stopped there. What a rendered picture gives
// is tested through bremo --print --image (tst_outside).
#include "Recogniser.h"
#include "RecognitionJob.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class TestOcr final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tidy_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tidy");
        QTest::newRow("Chinese") << u"今天 天气  很好 ， 散步 。\n"_s << u"今天天气很好，散步。"_s;
        QTest::newRow("Chinese beside Latin") << u"翻译 Qt 6 屏幕"_s << u"翻译 Qt 6 屏幕"_s;
        QTest::newRow("Japanese kana") << u"ひら がな カタ"_s << u"ひらがなカタ"_s;
        QTest::newRow("Korean keeps its spaces") << u"한국 어"_s << u"한국 어"_s;
        QTest::newRow("lines kept, empty ones dropped")
            << u" one \n\n 二 三 \n\n"_s << u"one\n二三"_s;
    }

    void tidy()
    {
        QFETCH(QString, text);
        QFETCH(QString, tidy);
        QCOMPARE(TidyRecognisedText(text), tidy);
    }

    // Every recognition ends: a sliver one pixel wide is read to its end, a cancelled one stops.
    void ends()
    {
        QImage picture(800, 600, QImage::Format_Grayscale8);
        picture.fill(Qt::white);
        QCOMPARE(Recognise(picture.copy(0, 0, 1, 40), ModelsFor(u"zh-CN"_s), {}).outcome,
                 Recognition::Outcome::Nothing);
        RecognitionJob job(Recognise);
        QSignalSpy finished(&job, &RecognitionJob::finished);
        job.start(picture, ModelsFor(u"zh-CN"_s));
        QVERIFY(finished.isEmpty()); // read on a worker thread, not in start()
        job.cancel();
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.front().front().value<Recognition>().outcome,
                 Recognition::Outcome::Cancelled);
    }
};

QTEST_GUILESS_MAIN(TestOcr)
#include "tst_ocr.moc"
