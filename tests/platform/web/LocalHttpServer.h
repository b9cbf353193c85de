#pragma once

// A one-page HTTP server on the loopback interface for tests: it answers
// every request with the same small page and keeps the requests' header
// blocks, so that a test can see what the browser sent.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace vocab::test {

class LocalHttpServer : public QObject {
public:
    explicit LocalHttpServer(QByteArray page = "<html><head><title>served</title></head><body>served</body></html>")
        : m_page(std::move(page))
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        });
    }

    QUrl url(const QString &path = QStringLiteral("/")) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
    }

    // The header blocks received, one per request, in arrival order.
    const QList<QByteArray> &requests() const { return m_requests; }

private:
    void answer(QTcpSocket *socket)
    {
        QByteArray &pending = m_pending[socket];
        pending += socket->readAll();
        const qsizetype end = pending.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        m_requests.append(pending.left(end + 2));
        m_pending.remove(socket);
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nConnection: close\r\nContent-Length: "
                      + QByteArray::number(m_page.size()) + "\r\n\r\n" + m_page);
        socket->disconnectFromHost();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    QTcpServer m_server;
    QByteArray m_page;
    QList<QByteArray> m_requests;
    QHash<QTcpSocket *, QByteArray> m_pending;
};

} // namespace vocab::test
