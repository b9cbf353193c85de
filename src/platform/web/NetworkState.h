#pragma once

// What every browser control of the process shares about the network: the
// list of live profiles (each control has a profile of its own, so clearing
// history or cache must reach them all), the offline mode the user chose,
// whether the machine has a connection, and the proxy our own downloads go
// through. The proxy itself is the application proxy of QNetworkProxy,
// which the engine follows too.

#include <QList>
#include <QNetworkProxy>

class QUrl;
class QString;
class QWebEngineProfile;

namespace vocab {

// Adds a profile to the live list; it leaves the list by itself when it is
// destroyed. Profiles from makeBrowserProfile are added already.
void registerBrowserProfile(QWebEngineProfile *profile);
// The live profiles, oldest first.
QList<QWebEngineProfile *> liveBrowserProfiles();

// The process-wide offline mode: while it is on, no control and no download
// of ours reaches the network (local files and written pages still load).
// Safe to read from any thread.
void setGlobalOffline(bool offline);
bool globalOffline();

// Whether an address of this scheme is fetched over the network.
bool isNetworkScheme(const QString &scheme);

// Whether the machine reports a connection: the system's reachability where
// a network-information backend gives one, else whether a network interface
// other than the loopback is up with an address that reaches beyond it.
bool platformReportsConnection();

// Sets the program's proxy: the application proxy, which the engine and our
// downloads follow. Its user name and password are kept apart from it (the
// engine would repeat them for ever to a proxy that refuses them): the
// engine asks for them through the page, our downloads take them from
// programProxy(). Every live profile takes the proxy up at once.
void setProgramProxy(const QNetworkProxy &proxy);
// The application proxy, with the credentials set for it.
QNetworkProxy programProxy();

// Has every live profile take up the application proxy as it is now. The
// engine reads the proxy again only when a request asks for it, and that
// request still goes the old way; so each profile makes one request that
// leads nowhere (to a closed port of the loopback, which no proxy serves),
// and the requests after it go the new way. Waits, handling events, until
// those requests have ended.
void applyProxyToLiveProfiles();

// The proxy a download of ours takes to `url`: the program's proxy, except
// for local names (no dot), which are reached directly.
QNetworkProxy downloadProxyFor(const QUrl &url);

} // namespace vocab
