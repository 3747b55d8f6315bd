#include "RecognitionJob.h"

#include "Recogniser.h"

#include <QtConcurrent>

RecognitionJob::RecognitionJob(QObject *parent)
    : QObject(parent)
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
    m_watcher.setFuture(QtConcurrent::run(
        [picture, models, cancel = m_cancel] { return Recognise(picture, models, *cancel); }));
}

void RecognitionJob::cancel()
{
    m_cancel->store(true);
}
