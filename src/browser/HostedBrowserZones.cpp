// THostedBrowser's methods over the security zones: the zone map, and the
// zone and security of the current address.

#include "HostedBrowser.h"

namespace vocab {

void THostedBrowser::AddToRestrictedSiteList(const QString &URL)
{
    HbTools::AddToRestrictedSiteList(URL);
}

void THostedBrowser::AddToTrustedSiteList(const QString &URL)
{
    HbTools::AddToTrustedSiteList(URL);
}

bool THostedBrowser::CheckIfInTrustedList(const QString &Host, bool SecureSite)
{
    return HbTools::CheckIfInTrustedList(Host, SecureSite);
}

bool THostedBrowser::CheckIfInRestricredList(const QString &Host, bool SecureSite)
{
    return HbTools::CheckIfInRestricredList(Host, SecureSite);
}

void THostedBrowser::GetZoneIcon(const QString &IconPath, QIcon &Icon)
{
    HbTools::GetZoneIcon(IconPath, Icon);
}

ZONEATTRIBUTES THostedBrowser::GetZoneAttributes(const QString &URL)
{
    ZONEATTRIBUTES attributes;
    HbTools::GetZoneAttributes(URL.isEmpty() ? LocationURL() : URL, attributes);
    return attributes;
}

bool THostedBrowser::GetZoneIconToForm()
{
    QString caption = windowTitle();
    QString hint = toolTip();
    return HbTools::GetZoneIconToForm(LocationURL(), caption, hint);
}

bool THostedBrowser::GetSSLStatus(QString &SSLName, QString &SSLDescription)
{
    return HbTools::GetSSLStatus(DefaultInterface(), LocationURL(), SSLName, SSLDescription);
}

bool THostedBrowser::GetURLSecurityZone(QString &ZoneName, QString &ZoneDescription, QIcon *Icon)
{
    return HbTools::GetURLSecurityZone(LocationURL(), ZoneName, ZoneDescription, Icon);
}

} // namespace vocab
