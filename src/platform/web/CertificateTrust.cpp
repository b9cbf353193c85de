#include "CertificateTrust.h"

#include "Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSslError>
#include <QWebEngineCertificateError>

namespace vocab {

namespace {

const QString RootStore = QStringLiteral("ROOT");
const QString IntermediateStore = QStringLiteral("CA");

QString storesFolder()
{
    // The stores live beside the registry, as the system keeps both.
    return QFileInfo(TRegistry::storePath()).absolutePath() + QStringLiteral("/certificates");
}

} // namespace

QString CertificateStorePath(const QString &StoreType)
{
    return storesFolder() + u'/' + StoreType;
}

QList<QSslCertificate> ImportedCertificates(const QString &StoreType)
{
    QList<QSslCertificate> found;
    const QDir stores(storesFolder());
    for (const QString &store : stores.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (store.compare(StoreType, Qt::CaseInsensitive) != 0)
            continue;
        const QDir folder(stores.filePath(store));
        for (const QString &name : folder.entryList({QStringLiteral("*.der")}, QDir::Files)) {
            QFile file(folder.filePath(name));
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QSslCertificate certificate(file.readAll(), QSsl::Der);
            if (!certificate.isNull())
                found.append(certificate);
        }
    }
    return found;
}

bool ChainTrustedWithImports(const QList<QSslCertificate> &chain, const QString &hostName)
{
    const QList<QSslCertificate> roots = ImportedCertificates(RootStore);
    if (chain.isEmpty() || roots.isEmpty())
        return false;
    // The check reads its roots from the default settings: those get the
    // imported ones for the time of the check only.
    const QSslConfiguration saved = QSslConfiguration::defaultConfiguration();
    QSslConfiguration widened = saved;
    widened.addCaCertificates(roots);
    QSslConfiguration::setDefaultConfiguration(widened);
    const auto restore = qScopeGuard([&saved] { QSslConfiguration::setDefaultConfiguration(saved); });
    return QSslCertificate::verify(chain + ImportedCertificates(IntermediateStore), hostName).isEmpty();
}

QSslConfiguration SslConfigurationWithImports()
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.addCaCertificates(ImportedCertificates(RootStore));
    return configuration;
}

void AnswerCertificateError(QWebEngineCertificateError error)
{
    // Only a chain the engine refused for want of a known root; a name
    // that does not match or a time run out stay refused whatever the roots.
    if (error.type() != QWebEngineCertificateError::CertificateAuthorityInvalid)
        return;
    if (ChainTrustedWithImports(error.certificateChain(), error.url().host()))
        error.acceptCertificate();
}

} // namespace vocab
