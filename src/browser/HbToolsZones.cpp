#include "HbToolsZones.h"

#include "HbToolsDocument.h"
#include "MessageBoxes.h"
#include "Registry.h"
#include "WebBrowser.h"

#include <QGuiApplication>
#include <QIcon>

#include <exception>

namespace vocab::HbTools {

namespace {

const QString TrustedSitesRefusal =
    QStringLiteral("Only sites with https:// prefix (secured sites) can be added to the trusted sites list zone!");

QString siteKey(const char *map, const QString &site)
{
    // Always below the map's key: the registry reads a leading separator
    // as the root, so the site's text is never the start of the path.
    return QString::fromLatin1(map) + u'\\' + site;
}

// The host name without its domain and the dot that joins them.
QString hostPrefix(const QString &hostName, const QString &domain)
{
    return domain.size() < hostName.size() ? hostName.left(hostName.size() - domain.size() - 1) : QString();
}

int readZone(const TRegistry &registry, const QString &name)
{
    switch (registry.GetDataType(name)) {
    case RegDataType::rdUnknown:
        throw AppError(QStringLiteral("Failed to get data for '%1'").arg(name));
    case RegDataType::rdInteger:
        return registry.ReadInteger(name);
    default:
        throw AppError(QStringLiteral("Invalid data type for '%1'").arg(name));
    }
}

bool siteInZone(const QString &hostName, bool secureSite, int zone)
{
    const QString domain = ExtractDomain(hostName);
    const QString site = domain + u'\\' + hostPrefix(hostName, domain);
    TRegistry registry(RegRoot::HKEY_CURRENT_USER);
    if (!registry.OpenKeyReadOnly(siteKey(ZoneMapDomainsKey, site))
        && !registry.OpenKeyReadOnly(siteKey(ZoneMapEscDomainsKey, site)))
        return false;
    return readZone(registry, secureSite ? QStringLiteral("https") : QStringLiteral("http")) == zone;
}

// A number, except where the value is there already as text: then the
// number is written as text, so that the value keeps its type.
void writeZone(TRegistry &registry, const QString &name, int zone)
{
    switch (registry.GetDataType(name)) {
    case RegDataType::rdString:
        registry.WriteString(name, QString::number(zone));
        break;
    case RegDataType::rdExpandString:
        registry.WriteExpandString(name, QString::number(zone));
        break;
    default:
        registry.WriteInteger(name, zone);
    }
}

void addSite(const QString &site, const QString &scheme, int zone)
{
    try {
        TRegistry registry(RegRoot::HKEY_CURRENT_USER);
        if (registry.OpenKey(siteKey(ZoneMapDomainsKey, site), true))
            writeZone(registry, scheme, zone);
    } catch (const AppError &) {
        // A zone map that cannot be written leaves the site out; nothing more.
    }
}

} // namespace

QString ExtractDomain(const QString &HostName)
{
    qsizetype start = HostName.size();
    int dots = 0;
    while (start > 0) {
        if (HostName.at(start - 1) == u'.' && ++dots == 2)
            break;
        --start;
    }
    return HostName.mid(start);
}

bool CheckIfInTrustedList(const QString &HostName, bool SecureSite)
{
    return siteInZone(HostName, SecureSite, TrustedSitesZone);
}

bool CheckIfInRestricredList(const QString &HostName, bool SecureSite)
{
    return siteInZone(HostName, SecureSite, RestrictedSitesZone);
}

void AddToTrustedSiteList(const QString &URL)
{
    if (!URL.toUpper().contains(QLatin1String("HTTPS"))) {
        MessageBox(TrustedSitesRefusal, QStringLiteral("Ошибка"), MB_OK | MB_ICONERROR);
        return;
    }
    addSite(URL, QStringLiteral("https"), TrustedSitesZone);
}

void AddToRestrictedSiteList(const QString &URL)
{
    QString site = URL.mid(URL.lastIndexOf(u':') + 3);
    if (site.contains(QLatin1String("www")))
        site.remove(0, 4);
    addSite(site, QStringLiteral("*"), RestrictedSitesZone);
}

void GetZoneAttributes(const QString &, ZONEATTRIBUTES &Attributes)
{
    // No zone manager exists to map the address or describe its zone.
    Attributes = ZONEATTRIBUTES();
}

void GetZoneIcon(const QString &, QIcon &)
{
    // The module the path names cannot be loaded, so the icon stays.
}

bool GetZoneIconToForm(const QString &URL, QString &, QString &)
{
    ZONEATTRIBUTES attributes;
    GetZoneAttributes(URL, attributes);
    QIcon icon;
    GetZoneIcon(attributes.szIconPath, icon);
    if (!icon.isNull())
        QGuiApplication::setWindowIcon(icon);
    return true;
}

bool GetURLSecurityZone(const QString &URL, QString &ZoneName, QString &ZoneDescription, QIcon *Icon)
{
    if (!Icon)
        throw EAssertionFailed(QStringLiteral("Assertion failure"));
    try {
        ZONEATTRIBUTES attributes;
        GetZoneAttributes(URL, attributes);
        GetZoneIcon(attributes.szIconPath, *Icon);
        ZoneName = attributes.szDisplayName;
        ZoneDescription = attributes.szDescription;
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

bool GetSSLStatus(IWebBrowser2 *OleObject, const QString &URL, QString &SSLName, QString &SSLDescription)
{
    if (!URL.contains(QLatin1String("https://"))) {
        SSLName = QStringLiteral("None");
        SSLDescription = QStringLiteral("The page is not secured.");
        return false;
    }
    IHTMLDocument2 *document = OleObject ? OleObject->Document() : nullptr;
    if (LateBound(document, QStringLiteral("return d.location.protocol;")).toString() != QLatin1String("https:"))
        return false;
    SSLName = QStringLiteral("SSL");
    SSLDescription = QStringLiteral("It is a secure web page.");
    return true;
}

} // namespace vocab::HbTools
