#pragma once

// An HTTP server on the loopback interface for tests: it answers each path
// with the page or the bytes given for it, 404 for any other path, and keeps
// every request whole (its header block and its body), so that a test can
// see what the browser sent.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace vocab::test {

class RoutedHttpServer : public QObject {
public:
    struct Request {
        QByteArray head; // the request line and headers
        QByteArray body;
        QByteArray path() const { return head.split(' ').value(1); }
    };

    RoutedHttpServer()
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        });
    }

    // The path answers with these bytes of this type.
    void route(const QByteArray &path, const QByteArray &bytes, const QByteArray &type = "text/html; charset=utf-8")
    {
        m_routes.insert(path, {bytes, type});
    }
    // The path answers with a page titled `title`.
    void page(const QByteArray &path, const QByteArray &title)
    {
        route(path, "<html><head><title>" + title + "</title></head><body>" + title + "</body></html>");
    }

    QUrl url(const QString &path = QStringLiteral("/")) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
    }

    const QList<Request> &requests() const { return m_requests; }
    // The requests of a path, in arrival order.
    QList<Request> requestsOf(const QByteArray &path) const
    {
        QList<Request> found;
        for (const Request &request : m_requests)
            if (request.path() == path)
                found.append(request);
        return found;
    }

private:
    struct Content {
        QByteArray bytes;
        QByteArray type;
    };

    void answer(QTcpSocket *socket)
    {
        QByteArray &pending = m_pending[socket];
        pending += socket->readAll();
        const qsizetype end = pending.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        Request request{pending.left(end + 2), {}};
        qsizetype length = 0;
        for (const QByteArray &line : request.head.split('\n'))
            if (line.toLower().startsWith("content-length:"))
                length = line.mid(15).trimmed().toLongLong();
        if (pending.size() < end + 4 + length)
            return;
        request.body = pending.mid(end + 4, length);
        m_pending.remove(socket);
        m_requests.append(request);
        const auto route = m_routes.constFind(request.path());
        const QByteArray status = route == m_routes.constEnd() ? "404 Not Found" : "200 OK";
        const Content content = route == m_routes.constEnd() ? Content{"not here", "text/plain"} : *route;
        socket->write("HTTP/1.1 " + status + "\r\nContent-Type: " + content.type + "\r\nConnection: close\r\nContent-Length: "
                      + QByteArray::number(content.bytes.size()) + "\r\n\r\n" + content.bytes);
        socket->disconnectFromHost();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    QTcpServer m_server;
    QHash<QByteArray, Content> m_routes;
    QList<Request> m_requests;
    QHash<QTcpSocket *, QByteArray> m_pending;
};

} // namespace vocab::test
