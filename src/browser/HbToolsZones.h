#pragma once

// The browser tools over the security zones: the per-site zone map in the
// registry (trusted and restricted sites), a zone's name, description and
// icon for an address, and whether the page came over a secure connection.

#include "AppError.h"

#include <QString>

#include <cstdint>

class QIcon;

namespace vocab {

class IWebBrowser2;

// A check that must hold did not.
class EAssertionFailed : public AppError {
public:
    using AppError::AppError;
};

inline constexpr int MAX_PATH = 260;
inline constexpr int MAX_ZONE_DESCRIPTION = 200;

// What is known of a zone; all empty and 0 when nothing is. The icon path
// reads module path, "#", icon number.
struct ZONEATTRIBUTES {
    std::uint32_t cbSize = 0;
    QString szDisplayName; // at most MAX_PATH characters
    QString szDescription; // at most MAX_ZONE_DESCRIPTION characters
    QString szIconPath; // at most MAX_PATH characters
    std::uint32_t dwTemplateMinLevel = 0;
    std::uint32_t dwTemplateRecommended = 0;
    std::uint32_t dwTemplateCurrentLevel = 0;
    std::uint32_t dwFlags = 0;

    bool operator==(const ZONEATTRIBUTES &) const = default;
};

namespace HbTools {

// The zone map's keys under HKEY_CURRENT_USER.
inline constexpr char ZoneMapDomainsKey[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains";
inline constexpr char ZoneMapEscDomainsKey[] =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\EscDomains";

// The zones the map names by number.
inline constexpr int TrustedSitesZone = 2;
inline constexpr int RestrictedSitesZone = 4;

// The last two labels of a host name (the text after its second dot from
// the end), or the whole name when it has fewer than two dots.
QString ExtractDomain(const QString &HostName);

// Whether the zone map puts the host among the trusted (2) or restricted (4)
// sites for http, or https when SecureSite: the value of the key
// Domains\<domain>\<host prefix>, or of EscDomains\... when that key is
// missing; false when neither is there. A key without the scheme's value
// throws AppError "Failed to get data for '<scheme>'", one holding it as
// another type "Invalid data type for '<scheme>'".
bool CheckIfInTrustedList(const QString &HostName, bool SecureSite);
bool CheckIfInRestricredList(const QString &HostName, bool SecureSite);

// Adds an https address, as written, to the trusted sites (the value
// "https" = 2 under the key Domains\<address>); any other address is
// refused with an error box. Registry errors are passed over.
void AddToTrustedSiteList(const QString &URL);
// Adds a site to the restricted sites: the value "*" = 4 under a key named
// by the address's text from the third character after its last ":" (from
// its third without one), less its first four characters when it contains
// "www". Registry errors are passed over.
void AddToRestrictedSiteList(const QString &URL);

// The zone's attributes of an address. The engine has no zone manager to
// ask, so nothing is known: the record is cleared.
void GetZoneAttributes(const QString &URL, ZONEATTRIBUTES &Attributes);
// The zone icon a path names. Zone icons are resources inside program
// modules, which do not load here: the icon is left as it is.
void GetZoneIcon(const QString &IconPath, QIcon &Icon);
// Makes the zone icon of the address the application's icon, when there is
// one (an empty icon would take the program's own away). The two texts are
// left as they are. True.
bool GetZoneIconToForm(const QString &URL, QString &Caption, QString &Hint);
// The zone's name, description and icon for the address; false when an
// error comes on the way. A null Icon throws EAssertionFailed "Assertion failure".
bool GetURLSecurityZone(const QString &URL, QString &ZoneName, QString &ZoneDescription, QIcon *Icon);

// Whether the browser's page came over a secure connection: an address
// without "https://" gives "None", "The page is not secured." and false; a
// page whose location's protocol is "https:" gives "SSL", "It is a secure
// web page." and true; any other leaves both texts and answers false. The
// protocol is read from the page's document; no document, or no answer,
// throws EOleException.
bool GetSSLStatus(IWebBrowser2 *OleObject, const QString &URL, QString &SSLName, QString &SSLDescription);

} // namespace HbTools
} // namespace vocab
