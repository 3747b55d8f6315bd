#include "RecognitionJob.h"

#include <QtConcurrent>

RecognitionJob::RecognitionJob(RecogniseFunction recognise, QObject *parent)
    : QObject(parent)
    , m_recognise(recognise)
{
    connect(&m_watcher, &QFutureWatcher<Recognition>::finished, this,
            [this] { Q_EMIT finished(m_watcher.result()); });
}

RecognitionJob::~RecognitionJob()
{
    cancel();
}

void RecognitionJob::start(const QImage &picture, const OcrModels &models)
{
    // The flag is shared with the worker, which may outlive the job.
    m_watcher.setFuture(
        QtConcurrent::run([recognise = m_recognise, picture, models, cancel = m_cancel] {
            return recognise(picture, models, *cancel);
        }));
}

void RecognitionJob::cancel()
{
    m_cancel->store(true);
}
