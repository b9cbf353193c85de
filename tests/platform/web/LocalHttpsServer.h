#pragma once

// An HTTPS server on the loopback interface for tests, with a certificate
// and key given to it: every request gets the one page, and the requests'
// header blocks are kept.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QUrl>

namespace vocab::test {

class LocalHttpsServer : public QTcpServer {
public:
    LocalHttpsServer(QList<QSslCertificate> chain, QSslKey key, QByteArray page)
        : m_chain(std::move(chain)), m_key(std::move(key)), m_page(std::move(page))
    {
        listen(QHostAddress::LocalHost);
    }

    QUrl url(const QString &path = QStringLiteral("/")) const
    {
        return QUrl(QStringLiteral("https://127.0.0.1:%1%2").arg(serverPort()).arg(path));
    }
    // The header blocks of the requests answered, in order.
    const QList<QByteArray> &requests() const { return m_requests; }

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto *socket = new QSslSocket(this);
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
            return;
        }
        socket->setLocalCertificateChain(m_chain);
        socket->setPrivateKey(m_key);
        socket->setPeerVerifyMode(QSslSocket::VerifyNone);
        connect(socket, &QSslSocket::readyRead, this, [this, socket] { answer(socket); });
        connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
        // A client that refuses the certificate closes the connection.
        connect(socket, &QSslSocket::errorOccurred, socket, [socket] { socket->deleteLater(); });
        socket->startServerEncryption();
    }

private:
    void answer(QSslSocket *socket)
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
    }

    QList<QSslCertificate> m_chain;
    QSslKey m_key;
    QByteArray m_page;
    QList<QByteArray> m_requests;
    QHash<QSslSocket *, QByteArray> m_pending;
};

} // namespace vocab::test
