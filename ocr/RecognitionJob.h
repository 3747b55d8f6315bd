#pragma once

#include "OcrLanguages.h"
#include "Recognition.h"

#include <QFutureWatcher>
#include <QImage>
#include <QObject>

#include <atomic>
#include <memory>

// One recognition by recognise on a worker thread, so that the window goes on while
// Tesseract reads. Destroying the job cancels it; its result is then dropped.
class RecognitionJob final : public QObject
{
    Q_OBJECT

public:
    explicit RecognitionJob(RecogniseFunction recognise, QObject *parent = nullptr);
    ~RecognitionJob() override;

    void start(const QImage &picture, const OcrModels &models);
    // Tesseract stops at its next check; finished then says Cancelled.
    void cancel();

Q_SIGNALS:
    void finished(const Recognition &recognition);

private:
    RecogniseFunction m_recognise;
    std::shared_ptr<std::atomic_bool> m_cancel = std::make_shared<std::atomic_bool>(false);
    QFutureWatcher<Recognition> m_watcher;
};
