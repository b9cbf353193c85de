#pragma once

// The certificates the user imported into the program's certificate stores
// (ImportCertFile), and the trust they give: a certificate of the store
// ROOT is a root the engine's views and the program's downloads trust beside
// the system's; one of the store CA may stand between such a root and a
// server's certificate, as the platform's intermediate authorities do.

#include <QList>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QWebEngineCertificateError>
#include <QString>


namespace vocab {

// The folder of the certificate store of a name.
QString CertificateStorePath(const QString &StoreType);

// The certificates of a store, read each time (an import shows at once);
// the store's name is taken without regard to case.
QList<QSslCertificate> ImportedCertificates(const QString &StoreType);

// True when the chain a server gave for a host (its own certificate first)
// is sound up to a root of the system or of the store ROOT, with the
// store CA's certificates to fill the gaps; the host's name must match and
// no certificate may be out of its time.
bool ChainTrustedWithImports(const QList<QSslCertificate> &chain, const QString &hostName);

// The program's settings for a TLS connection of its own: the system's roots
// and those of the store ROOT.
QSslConfiguration SslConfigurationWithImports();

// The engine's question about a certificate it does not trust: accepted when
// the imported certificates make the chain sound, else left to the engine,
// which refuses it.
void AnswerCertificateError(QWebEngineCertificateError error);

} // namespace vocab
