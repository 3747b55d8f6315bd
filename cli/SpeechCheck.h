#pragma once

#include "Endpoints.h"
#include "HttpText.h"

#include <QList>
#include <QString>
#include <QTextStream>
#include <QThread>

#include <memory>
#include <vector>

// bremo --check's lines for the speech roads: each speech host asked for a short clip, and the
// offline voice speaking Chinese into an MP3. They start at construction, beside the translation
// roads, so that the whole check keeps its time; write() waits for them. Not counted in the exit
// code.
class SpeechCheck final
{
public:
    SpeechCheck(const Endpoints &endpoints, const GetPostByXmlHttp::HttpOptions &options);
    void write(QTextStream &out);

private:
    struct Line
    {
        QString id;
        QString where;
        QString outcome;
        qint64 milliseconds = 0;
    };
    QList<Line> m_lines;
    std::vector<std::unique_ptr<QThread>> m_threads;
};
