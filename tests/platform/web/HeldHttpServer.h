#pragma once

// An HTTP server on the loopback interface that answers no request until
// the test releases it, so that a test decides which of two loads ends
// first.

#include <QByteArray>
#include <QHash>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace vocab::test {

class HeldHttpServer : public QObject {
public:
    HeldHttpServer()
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { take(socket); });
        });
    }

    QUrl url(const QString &path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
    }
    // Whether a request for the path has come and waits for its answer.
    bool asked(const QByteArray &path) const { return m_held.contains(path); }
    // Answers the request for the path.
    void release(const QByteArray &path, const QByteArray &bytes, const QByteArray &type = "text/html; charset=utf-8")
    {
        QPointer<QTcpSocket> socket = m_held.take(path);
        if (!socket)
            return;
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: " + type + "\r\nConnection: close\r\nContent-Length: "
                      + QByteArray::number(bytes.size()) + "\r\n\r\n" + bytes);
        socket->disconnectFromHost();
    }

private:
    void take(QTcpSocket *socket)
    {
        QByteArray &pending = m_pending[socket];
        pending += socket->readAll();
        if (!pending.contains("\r\n\r\n"))
            return;
        const QByteArray path = pending.left(pending.indexOf("\r\n")).split(' ').value(1);
        m_pending.remove(socket);
        m_held.insert(path, socket);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_pending;
    QHash<QByteArray, QPointer<QTcpSocket>> m_held;
};

} // namespace vocab::test
