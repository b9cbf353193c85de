// Certificates the user imports: a root of the store ROOT makes a server
// whose certificate it issued trusted by the browser's views and by the
// downloads; nothing else is trusted because of it.

#include "BrowserEngineFixture.h"
#include "HbToolsLoading.h"
#include "HbToolsUrl.h"
#include "platform/web/LocalHttpsServer.h"

#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>

using namespace vocab;
using namespace vocab::test;

namespace {

// A certificate authority of the test's own and two server certificates it
// issued, made with openssl in a folder: one for 127.0.0.1, one for another
// address.
class TestAuthority {
public:
    explicit TestAuthority(const QString &folder) : m_folder(folder) {}

    bool make()
    {
        return run({"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key", "-out", "ca.pem", "-days",
                    "30", "-subj", "/CN=Vocabulinarum Test Root", "-addext", "basicConstraints=critical,CA:TRUE",
                    "-addext", "keyUsage=critical,keyCertSign,cRLSign"})
            && run({"x509", "-in", "ca.pem", "-outform", "DER", "-out", "ca.der"})
            && server("right", "IP:127.0.0.1") && server("wrong", "IP:127.0.0.2");
    }

    QString path(const QString &name) const { return m_folder + u'/' + name; }
    QSslCertificate certificate(const QString &name) const
    {
        return QSslCertificate::fromPath(path(name + QStringLiteral(".pem"))).value(0);
    }
    QSslKey key(const QString &name) const
    {
        QFile file(path(name + QStringLiteral(".key")));
        return file.open(QIODevice::ReadOnly) ? QSslKey(&file, QSsl::Rsa) : QSslKey();
    }

private:
    bool server(const QString &name, const QString &altName)
    {
        QFile extensions(path(name + QStringLiteral(".ext")));
        if (!extensions.open(QIODevice::WriteOnly))
            return false;
        extensions.write("basicConstraints=CA:FALSE\nkeyUsage=digitalSignature,keyEncipherment\n"
                         "extendedKeyUsage=serverAuth\nsubjectAltName=" + altName.toLatin1() + "\n");
        extensions.close();
        const QByteArray n = name.toLatin1();
        return run({"req", "-newkey", "rsa:2048", "-nodes", "-keyout", n + ".key", "-out", n + ".csr", "-subj",
                    "/CN=" + n})
            && run({"x509", "-req", "-in", n + ".csr", "-CA", "ca.pem", "-CAkey", "ca.key", "-CAcreateserial", "-out",
                    n + ".pem", "-days", "30", "-extfile", n + ".ext"});
    }
    bool run(const QList<QByteArray> &arguments)
    {
        QStringList args;
        for (const QByteArray &a : arguments)
            args << QString::fromLatin1(a);
        QProcess openssl;
        openssl.setWorkingDirectory(m_folder);
        openssl.start(QStringLiteral("openssl"), args);
        return openssl.waitForFinished(60000) && openssl.exitStatus() == QProcess::NormalExit
            && openssl.exitCode() == 0;
    }

    QString m_folder;
};

class ImportedRoots : public BrowserEngineTest {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty())
            GTEST_SKIP() << "openssl is not installed";
        qputenv("VOCABULINARUM_REGISTRY", QFile::encodeName(dir.filePath(QStringLiteral("registry.json"))));
        ASSERT_TRUE(authority.make());
        BrowserEngineTest::SetUp();
    }
    void TearDown() override { qunsetenv("VOCABULINARUM_REGISTRY"); }

    // Goes to the address and answers the title the browser shows there.
    QString titleAt(const QUrl &url)
    {
        Emb->Navigate(url.toString());
        if (!Emb->Wait(20000))
            return QStringLiteral("(no end of loading)");
        return Emb->Document() ? Emb->Document()->title() : QString();
    }

    QTemporaryDir certificates;
    TestAuthority authority{certificates.path()};
};

TEST_F(ImportedRoots, AreTrustedForTheViewsAndTheDownloadsOnlyForTheirOwnServers)
{
    const QByteArray page = "<html><head><title>secure</title></head><body>secure</body></html>";
    LocalHttpsServer right({authority.certificate(QStringLiteral("right"))}, authority.key(QStringLiteral("right")), page);
    LocalHttpsServer wrong({authority.certificate(QStringLiteral("wrong"))}, authority.key(QStringLiteral("wrong")), page);
    ASSERT_TRUE(right.isListening());
    const QString download = dir.filePath(QStringLiteral("download.html"));

    EXPECT_NE(titleAt(right.url(QStringLiteral("/before"))), QStringLiteral("secure"));
    EXPECT_TRUE(right.requests().isEmpty()) << "the page was fetched over an unknown root";
    EXPECT_FALSE(HbTools::DownloadToFile(right.url(QStringLiteral("/download-before")), download));

    // Into the store of intermediate authorities it links nothing to a root.
    ASSERT_TRUE(Emb->ImportCertFile(authority.path(QStringLiteral("ca.der")), QStringLiteral("CA")));
    EXPECT_NE(titleAt(right.url(QStringLiteral("/as-intermediate"))), QStringLiteral("secure"));

    ASSERT_TRUE(Emb->ImportCertFile(authority.path(QStringLiteral("ca.der")), QStringLiteral("ROOT")));
    EXPECT_EQ(titleAt(right.url(QStringLiteral("/after"))), QStringLiteral("secure"));
    // The page, and perhaps its icon or the engine asking again on a busy
    // machine: nothing but that address reached the server.
    ASSERT_FALSE(right.requests().isEmpty());
    for (const QByteArray &request : right.requests())
        EXPECT_TRUE(request.startsWith("GET /after ") || request.startsWith("GET /favicon.ico "))
            << request.toStdString();
    EXPECT_TRUE(HbTools::DownloadToFile(right.url(QStringLiteral("/download-after")), download));
    QFile downloaded(download);
    ASSERT_TRUE(downloaded.open(QIODevice::ReadOnly));
    EXPECT_EQ(downloaded.readAll(), page);

    // A certificate of the same root for another address stays refused.
    EXPECT_NE(titleAt(wrong.url(QStringLiteral("/other-name"))), QStringLiteral("secure"));
    EXPECT_TRUE(wrong.requests().isEmpty());
    EXPECT_FALSE(HbTools::DownloadToFile(wrong.url(QStringLiteral("/download-other-name")), download));
}

} // namespace
