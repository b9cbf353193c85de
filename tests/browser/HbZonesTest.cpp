// The security zones: the zone map's readers and writers over a registry of
// the test's own, the zone of an address (none is known here), and whether
// a page came over a secure connection.

#include "HbToolsZones.h"
#include "HostedBrowser.h"
#include "SpyControl.h"

#include "MessageBoxes.h"
#include "OleError.h"
#include "Registry.h"
#include "TestSupport.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>

using namespace vocab;
using namespace vocab::test;

namespace {

const QString Domains = QString::fromLatin1(HbTools::ZoneMapDomainsKey);
const QString EscDomains = QString::fromLatin1(HbTools::ZoneMapEscDomainsKey);

class ZoneMap : public ::testing::Test {
protected:
    void SetUp() override { qputenv("VOCABULINARUM_REGISTRY", QFile::encodeName(dir.filePath(QStringLiteral("registry.json")))); }
    void TearDown() override { qunsetenv("VOCABULINARUM_REGISTRY"); }

    static void writeInteger(const QString &key, const QString &name, int value)
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(key, true));
        registry.WriteInteger(name, value);
    }
    static void writeString(const QString &key, const QString &name, const QString &value)
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(key, true));
        registry.WriteString(name, value);
    }
    // The value's type and text ("" when the key or value is missing).
    static std::pair<RegDataType, QString> stored(const QString &key, const QString &name)
    {
        TRegistry registry;
        if (!registry.OpenKeyReadOnly(key))
            return {RegDataType::rdUnknown, QString()};
        const RegDataType type = registry.GetDataType(name);
        if (type == RegDataType::rdInteger)
            return {type, QString::number(registry.ReadInteger(name))};
        return {type, type == RegDataType::rdUnknown ? QString() : registry.ReadString(name)};
    }

    QTemporaryDir dir;
};

} // namespace

TEST(ZoneDomain, IsTheLastTwoLabelsOfTheHost)
{
    const struct {
        const char *host;
        const char *domain;
    } cases[] = {
        {"a.b.c", "b.c"}, {"x.a.b.c", "b.c"}, {"b.c", "b.c"}, {"c", "c"}, {"a.b.c.", "c."}, {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(HbTools::ExtractDomain(QString::fromLatin1(c.host)), QString::fromLatin1(c.domain)) << c.host;
}

TEST_F(ZoneMap, ReadersAnswerFromTheSiteKeyOfDomainAndHostPrefix)
{
    writeInteger(Domains + QStringLiteral("\\b.c\\a"), QStringLiteral("http"), 2);
    writeInteger(Domains + QStringLiteral("\\b.c\\a"), QStringLiteral("https"), 4);
    writeInteger(Domains + QStringLiteral("\\e.f"), QStringLiteral("http"), 2);
    writeInteger(Domains + QStringLiteral("\\b.c\\x.y"), QStringLiteral("http"), 4);
    writeInteger(EscDomains + QStringLiteral("\\g.h\\w"), QStringLiteral("https"), 2);
    const struct {
        const char *host;
        bool secure;
        bool trusted;
        bool restricted;
    } cases[] = {
        {"a.b.c", false, true, false},  {"a.b.c", true, false, true},   {"e.f", false, true, false},
        {"x.y.b.c", false, false, true}, {"w.g.h", true, true, false},  {"q.b.c", false, false, false},
        {"nowhere.example", true, false, false},
    };
    for (const auto &c : cases) {
        const QString host = QString::fromLatin1(c.host);
        EXPECT_EQ(HbTools::CheckIfInTrustedList(host, c.secure), c.trusted) << c.host << ' ' << c.secure;
        EXPECT_EQ(HbTools::CheckIfInRestricredList(host, c.secure), c.restricted) << c.host << ' ' << c.secure;
    }
}

TEST_F(ZoneMap, ASiteKeyWithoutTheSchemesNumberThrowsTheWrappersReadError)
{
    writeInteger(Domains + QStringLiteral("\\b.c\\a"), QStringLiteral("*"), 4);
    writeString(Domains + QStringLiteral("\\b.c\\t"), QStringLiteral("http"), QStringLiteral("2"));
    // The Domains key is read even when EscDomains holds the value.
    writeInteger(EscDomains + QStringLiteral("\\b.c\\a"), QStringLiteral("https"), 2);
    const struct {
        const char *host;
        bool secure;
        const char *error;
    } cases[] = {
        {"a.b.c", true, "Failed to get data for 'https'"},
        {"a.b.c", false, "Failed to get data for 'http'"},
        {"t.b.c", false, "Invalid data type for 'http'"},
    };
    for (const auto &c : cases) {
        for (auto check : {&HbTools::CheckIfInTrustedList, &HbTools::CheckIfInRestricredList}) {
            try {
                check(QString::fromLatin1(c.host), c.secure);
                ADD_FAILURE() << c.host << " answered";
            } catch (const AppError &error) {
                EXPECT_EQ(error.message(), QString::fromLatin1(c.error));
            }
        }
    }
}

TEST_F(ZoneMap, OnlyHttpsAddressesAreTrustedUnderTheirWholeText)
{
    QList<MessageBoxRequest> shown;
    const auto previous = setMessageBoxResponder([&](const MessageBoxRequest &r) {
        shown << r;
        return IDOK;
    });
    HbTools::AddToTrustedSiteList(QStringLiteral("http://plain.example/"));
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text,
              QStringLiteral("Only sites with https:// prefix (secured sites) can be added to the trusted sites list zone!"));
    EXPECT_EQ(shown[0].flags, MB_OK | MB_ICONERROR);
    EXPECT_FALSE(TRegistry().KeyExists(Domains)) << "nothing written";

    HbTools::AddToTrustedSiteList(QStringLiteral("HTTPS://Secure.example"));
    setMessageBoxResponder(previous);
    EXPECT_EQ(shown.size(), 1);
    EXPECT_EQ(stored(Domains + QStringLiteral("\\HTTPS://Secure.example"), QStringLiteral("https")),
              std::pair(RegDataType::rdInteger, QStringLiteral("2")));
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(Domains));
    EXPECT_EQ(reg.GetKeyNames(), QStringList{QStringLiteral("HTTPS://Secure.example")}) << "one key, named by the whole text";
}

TEST_F(ZoneMap, AValueThatIsTextStaysText)
{
    writeString(Domains + QStringLiteral("\\https://s.example"), QStringLiteral("https"), QStringLiteral("0"));
    writeString(Domains + QStringLiteral("\\bad.com"), QStringLiteral("*"), QStringLiteral("0"));
    HbTools::AddToTrustedSiteList(QStringLiteral("https://s.example"));
    HbTools::AddToRestrictedSiteList(QStringLiteral("http://www.bad.com"));
    EXPECT_EQ(stored(Domains + QStringLiteral("\\https://s.example"), QStringLiteral("https")),
              std::pair(RegDataType::rdString, QStringLiteral("2")));
    EXPECT_EQ(stored(Domains + QStringLiteral("\\bad.com"), QStringLiteral("*")),
              std::pair(RegDataType::rdString, QStringLiteral("4")));
}

TEST_F(ZoneMap, ARestrictedSiteIsNamedByTheTextAfterTheLastColon)
{
    const struct {
        const char *address;
        const char *site;
    } cases[] = {
        {"http://www.bad.com", "bad.com"},
        {"http://bad.com:8080/x", "80/x"},
        {"http://plain.org", "plain.org"},
        {"bad.com", "d.com"},
        {"http://a.com/www", "m/www"},
    };
    for (const auto &c : cases) {
        HbTools::AddToRestrictedSiteList(QString::fromLatin1(c.address));
        EXPECT_EQ(stored(Domains + u'\\' + QString::fromLatin1(c.site), QStringLiteral("*")),
                  std::pair(RegDataType::rdInteger, QStringLiteral("4")))
            << c.address;
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(Domains));
    QStringList names = reg.GetKeyNames();
    names.sort();
    EXPECT_EQ(names, (QStringList{"80/x", "bad.com", "d.com", "m/www", "plain.org"}));
}

TEST_F(ZoneMap, SiteTextNeverLeavesTheZoneMap)
{
    HbTools::AddToTrustedSiteList(QStringLiteral("\\Software\\https"));
    EXPECT_FALSE(TRegistry().KeyExists(QStringLiteral("\\Software\\https")));
    EXPECT_EQ(stored(Domains + QStringLiteral("\\Software\\https"), QStringLiteral("https")).second, QStringLiteral("2"));
}

TEST_F(ZoneMap, WritersPassOverARegistryThatCannotBeWritten)
{
    writeBytes(dir.filePath(QStringLiteral("file")), "x");
    qputenv("VOCABULINARUM_REGISTRY", QFile::encodeName(dir.filePath(QStringLiteral("file/registry.json"))));
    EXPECT_NO_THROW(HbTools::AddToTrustedSiteList(QStringLiteral("https://s.example")));
    EXPECT_NO_THROW(HbTools::AddToRestrictedSiteList(QStringLiteral("http://bad.com")));
}

TEST(SecurityZone, NoZoneIsKnownSoTheRecordIsClearedAndTheIconsStay)
{
    ZONEATTRIBUTES attributes;
    attributes.cbSize = 1;
    attributes.szDisplayName = QStringLiteral("stale");
    HbTools::GetZoneAttributes(QStringLiteral("http://a.example/"), attributes);
    EXPECT_EQ(attributes, ZONEATTRIBUTES());

    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    QIcon icon(pixmap);
    const qint64 key = icon.cacheKey();
    QString name = QStringLiteral("old name");
    QString description = QStringLiteral("old description");
    EXPECT_TRUE(HbTools::GetURLSecurityZone(QStringLiteral("http://a.example/"), name, description, &icon));
    EXPECT_EQ(name, QString());
    EXPECT_EQ(description, QString());
    EXPECT_EQ(icon.cacheKey(), key);

    const QIcon appIcon(pixmap);
    QGuiApplication::setWindowIcon(appIcon);
    QString caption = QStringLiteral("caption");
    QString hint = QStringLiteral("hint");
    EXPECT_TRUE(HbTools::GetZoneIconToForm(QStringLiteral("http://a.example/"), caption, hint));
    EXPECT_FALSE(QGuiApplication::windowIcon().isNull()) << "the program keeps its own icon";
    EXPECT_EQ(caption, QStringLiteral("caption"));
    EXPECT_EQ(hint, QStringLiteral("hint"));
    QGuiApplication::setWindowIcon(QIcon());
}

TEST(SecurityZone, AMissingIconObjectFailsTheAssertion)
{
    QString name;
    QString description;
    try {
        HbTools::GetURLSecurityZone(QStringLiteral("http://a.example/"), name, description, nullptr);
        ADD_FAILURE() << "answered";
    } catch (const EAssertionFailed &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Assertion failure"));
    }
}

namespace {

// A document whose location tells the protocol it was given.
class ProtocolDocument : public SpyDocument, public IDocumentAutomation {
public:
    explicit ProtocolDocument(QString protocol) : m_protocol(std::move(protocol)) {}
    QVariant Invoke(const QString &body, const QVariantList &) const override
    {
        return body.contains(QLatin1String("location.protocol")) ? QVariant(m_protocol) : QVariant();
    }

private:
    QString m_protocol;
};

} // namespace

TEST(SecureConnection, IsTheProtocolOfThePageWhenTheAddressNamesHttps)
{
    QWidget container;
    SpyControl control(&container, nullptr);
    const struct {
        const char *address;
        const char *protocol;
        bool secure;
        const char *name;
        const char *description;
    } cases[] = {
        {"http://a.example/", "http:", false, "None", "The page is not secured."},
        {"HTTPS://a.example/", "https:", false, "None", "The page is not secured."},
        {"https://a.example/", "https:", true, "SSL", "It is a secure web page."},
        {"http://a.example/?next=https://b.example/", "http:", false, "kept", "kept"},
    };
    for (const auto &c : cases) {
        control.document = std::make_unique<ProtocolDocument>(QString::fromLatin1(c.protocol));
        QString name = QStringLiteral("kept");
        QString description = QStringLiteral("kept");
        EXPECT_EQ(HbTools::GetSSLStatus(&control, QString::fromLatin1(c.address), name, description), c.secure) << c.address;
        EXPECT_EQ(name, QString::fromLatin1(c.name)) << c.address;
        EXPECT_EQ(description, QString::fromLatin1(c.description)) << c.address;
    }
    control.document.reset();
    QString name;
    QString description;
    EXPECT_THROW(HbTools::GetSSLStatus(&control, QStringLiteral("https://a.example/"), name, description), EOleException);
}
