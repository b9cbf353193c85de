#pragma once

// An HTTP server on the loopback interface for tests. It keeps every request
// whole (its header block and its body), so that a test can see what the
// browser sent, and answers each target routed with what was given for it.
// What the other targets get is chosen when it is made: one page for all,
// 404, or a page named after the target. Asked as a proxy, the target is the
// whole address, so that pages of made-up hosts load through it; it can
// demand proxy credentials first.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

#include <optional>

namespace vocab::test {

class LocalHttpServer : public QObject {
public:
    struct Request {
        QByteArray head; // the request line and headers, each line ending in CRLF
        QByteArray body;
        // "GET /path HTTP/1.1"
        QByteArray line() const { return head.left(head.indexOf("\r\n")); }
        // "/path", or the whole address when asked as a proxy.
        QByteArray target() const { return line().split(' ').value(1); }
        // The value of a header, "" when it was not sent.
        QByteArray header(const QByteArray &name) const
        {
            const QByteArray prefix = name.toLower() + ':';
            for (const QByteArray &headerLine : head.split('\n'))
                if (headerLine.toLower().startsWith(prefix))
                    return headerLine.mid(prefix.size()).trimmed();
            return {};
        }
    };

    // What a target with no route of its own gets.
    enum class Others {
        NotFound,
        // A page titled "through" and the target, which may be cached for
        // an hour.
        PageNamingTheTarget,
    };

    // Every target not routed gets `page`.
    explicit LocalHttpServer(QByteArray page = "<html><head><title>served</title></head><body>served</body></html>")
        : m_othersPage(std::move(page))
    {
        listen();
    }
    explicit LocalHttpServer(Others others) : m_others(others) { listen(); }

    // The target answers with these bytes of this type.
    void route(const QByteArray &target, const QByteArray &bytes, const QByteArray &type = "text/html; charset=utf-8")
    {
        m_routes.insert(target, {bytes, type});
    }
    // The target answers with a page titled `title`.
    void page(const QByteArray &target, const QByteArray &title)
    {
        route(target, "<html><head><title>" + title + "</title></head><body>" + title + "</body></html>");
    }
    // Requests without this "Proxy-Authorization" value get 407.
    void requireProxyCredentials(const QByteArray &user, const QByteArray &password)
    {
        m_credentials = "Basic " + (user + ':' + password).toBase64();
    }

    quint16 port() const { return m_server.serverPort(); }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(port()); }
    QUrl url(const QString &path = QStringLiteral("/")) const
    {
        return QUrl(QStringLiteral("http://%1%2").arg(address(), path));
    }

    // The requests, in arrival order.
    const QList<Request> &requests() const { return m_requests; }
    // The requests of a target, in arrival order.
    QList<Request> requestsOf(const QByteArray &target) const
    {
        QList<Request> found;
        for (const Request &request : m_requests)
            if (request.target() == target)
                found.append(request);
        return found;
    }
    // The request lines, in arrival order.
    QList<QByteArray> requestLines() const
    {
        QList<QByteArray> lines;
        for (const Request &request : m_requests)
            lines.append(request.line());
        return lines;
    }

private:
    struct Content {
        QByteArray bytes;
        QByteArray type;
    };

    void listen()
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        });
    }

    void answer(QTcpSocket *socket)
    {
        QByteArray &pending = m_pending[socket];
        pending += socket->readAll();
        const qsizetype end = pending.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        Request request{pending.left(end + 2), {}};
        const qsizetype length = request.header("Content-Length").toLongLong();
        if (pending.size() < end + 4 + length)
            return;
        request.body = pending.mid(end + 4, length);
        m_pending.remove(socket);
        m_requests.append(request);
        socket->write(reply(request));
        socket->disconnectFromHost();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    QByteArray reply(const Request &request) const
    {
        if (!m_credentials.isEmpty() && request.header("Proxy-Authorization") != m_credentials)
            return "HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic realm=\"test\"\r\n"
                   "Content-Length: 0\r\nConnection: close\r\n\r\n";
        QByteArray status = "200 OK";
        QByteArray headers;
        Content content{m_othersPage, "text/html; charset=utf-8"};
        if (const auto route = m_routes.constFind(request.target()); route != m_routes.constEnd()) {
            content = *route;
        } else if (m_others == Others::NotFound) {
            status = "404 Not Found";
            content = {"not here", "text/plain"};
        } else if (m_others == Others::PageNamingTheTarget) {
            content.bytes = "<html><head><title>through " + request.target() + "</title></head><body>served</body></html>";
            headers = "Cache-Control: max-age=3600\r\n";
        }
        return "HTTP/1.1 " + status + "\r\nContent-Type: " + content.type + "\r\n" + headers
            + "Connection: close\r\nContent-Length: " + QByteArray::number(content.bytes.size()) + "\r\n\r\n" + content.bytes;
    }

    QTcpServer m_server;
    std::optional<Others> m_others;
    QByteArray m_othersPage;
    QByteArray m_credentials;
    QHash<QByteArray, Content> m_routes;
    QList<Request> m_requests;
    QHash<QTcpSocket *, QByteArray> m_pending;
};

} // namespace vocab::test
