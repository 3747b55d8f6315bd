#pragma once

#include "CannedReply.h"
#include "RecordedRequest.h"

#include <QObject>
#include <QTcpSocket>

namespace TestSupport {

// One client connection of the stand-in server: reads whole requests (head and the body that
// Content-Length declares) one after another, and writes each answer with its faults. Dies
// with its socket.
class StandInConnection final : public QObject
{
    Q_OBJECT

public:
    StandInConnection(QTcpSocket *socket, QObject *parent);

    // Answers the request last announced by requestReady.
    void answer(const CannedReply &reply);

Q_SIGNALS:
    void requestReady(const TestSupport::RecordedRequest &request);
    void bodyBytesWritten(qsizetype count);

private:
    enum class State
    {
        Reading,
        Answering,
        Finished
    };

    void readRequests();
    bool takeRequest(RecordedRequest &request);
    void sendHead();
    void sendBody();
    void endBody();

    QTcpSocket *m_socket;
    QByteArray m_buffer;
    State m_state = State::Reading;
    CannedReply m_reply;
    qsizetype m_sent = 0;
    qsizetype m_stopAt = 0;
};

} // namespace TestSupport
