// Recognising one line of text in an 800x120 picture: Bremo's in-process recognition (the
// picture read from its file, the models loaded, the text read) against the `tesseract`
// command on the same file with the same models and engine. Target: at most 1.2x.
#include "Recogniser.h"

#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

QString g_picture;

void BM_Bremo(benchmark::State &state)
{
    for (auto _ : state) {
        QFile file(g_picture);
        file.open(QIODevice::ReadOnly);
        const auto picture = ReadPicture(file.readAll());
        const Recognition recognition =
            Recognise(std::get<QImage>(picture), ModelsFor(u"zh-CN"_s), std::atomic_bool(false));
        if (recognition.outcome != Recognition::Outcome::Text)
            state.SkipWithError("nothing recognised");
    }
}

void BM_TesseractCommand(benchmark::State &state)
{
    for (auto _ : state) {
        QProcess tesseract;
        tesseract.start(u"tesseract"_s,
                        {g_picture, u"-"_s, u"-l"_s, u"chi_sim+eng"_s, u"--oem"_s, u"1"_s});
        if (!tesseract.waitForFinished() || tesseract.exitCode() != 0 ||
            tesseract.readAllStandardOutput().trimmed().isEmpty())
            state.SkipWithError("tesseract failed");
    }
}

BENCHMARK(BM_Bremo)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_TesseractCommand)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir folder;
    g_picture = folder.filePath(u"line.png"_s);
    QImage line(800, 120, QImage::Format_RGB32);
    line.fill(Qt::white);
    QPainter painter(&line);
    QFont font(u"WenQuanYi Micro Hei"_s);
    font.setPixelSize(28);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, 800, 120), Qt::AlignCenter, u"屏幕上的文字 Text on the screen"_s);
    painter.end();
    line.save(g_picture);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
