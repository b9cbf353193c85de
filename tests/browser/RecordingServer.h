#pragma once

// An HTTP server on the loopback interface that keeps the request line of
// every request it gets, for tests of where requests go. Asked as a proxy,
// it answers every address itself (the request line then holds the whole
// address), so that pages of made-up hosts load through it; it can demand
// proxy credentials first. Its pages may be cached for an hour.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace vocab::test {

class RecordingServer : public QObject {
public:
    RecordingServer()
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        });
    }

    quint16 port() const { return m_server.serverPort(); }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(port()); }
    QUrl url(const QString &path) const { return QUrl(QStringLiteral("http://%1%2").arg(address(), path)); }

    // Requests without this "Proxy-Authorization" value get 407.
    void requireProxyCredentials(const QByteArray &user, const QByteArray &password)
    {
        m_credentials = "Basic " + (user + ':' + password).toBase64();
    }

    // The request lines ("GET http://host/path HTTP/1.1"), in arrival order,
    // and the "Proxy-Authorization" values sent with them ("" for none).
    const QList<QByteArray> &requestLines() const { return m_lines; }
    const QList<QByteArray> &proxyAuthorizations() const { return m_authorizations; }
    qsizetype requestsFor(const QByteArray &target) const
    {
        qsizetype count = 0;
        for (const QByteArray &line : m_lines)
            count += line.contains(' ' + target + ' ') ? 1 : 0;
        return count;
    }

private:
    void answer(QTcpSocket *socket)
    {
        QByteArray &pending = m_pending[socket];
        pending += socket->readAll();
        const qsizetype end = pending.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QList<QByteArray> lines = pending.left(end).split('\n');
        m_pending.remove(socket);
        QByteArray authorization;
        for (const QByteArray &line : lines)
            if (line.toLower().startsWith("proxy-authorization:"))
                authorization = line.mid(line.indexOf(':') + 1).trimmed();
        m_lines.append(lines.value(0).trimmed());
        m_authorizations.append(authorization);
        if (!m_credentials.isEmpty() && authorization != m_credentials) {
            socket->write("HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic realm=\"test\"\r\n"
                          "Content-Length: 0\r\nConnection: close\r\n\r\n");
        } else {
            const QByteArray target = lines.value(0).split(' ').value(1);
            const QByteArray page = "<html><head><title>through " + target + "</title></head><body>served</body></html>";
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nCache-Control: max-age=3600\r\n"
                          "Connection: close\r\nContent-Length: "
                          + QByteArray::number(page.size()) + "\r\n\r\n" + page);
        }
        socket->disconnectFromHost();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    QTcpServer m_server;
    QByteArray m_credentials;
    QList<QByteArray> m_lines;
    QList<QByteArray> m_authorizations;
    QHash<QTcpSocket *, QByteArray> m_pending;
};

} // namespace vocab::test
