#pragma once

// The browser tools that set the proxy of the whole program: every control
// and our own downloads go through it. The proxy is the program's, not the
// user's system setting, and lasts until it is removed or the program ends.
//
// The user agent each routine takes named the session the setting was made
// through; the controls' requests keep their own agent.

#include <QString>

namespace vocab::HbTools {

// A proxy "server" or "server:port" (port 80 when none is given). Our
// downloads reach local names (no dot) directly; the engine takes a list of
// names to reach directly only when it starts, so only the loopback, which
// it never sends through a proxy, bypasses it there. False, with nothing
// changed, for an address that names no server or port.
bool SetProxy(const QString &UserAgent, const QString &Address);

// The proxy at `Address` (its server name) and `Port`, which asks for the
// user name and password: they answer the proxy's question for every
// control and every download. False, with nothing changed, for an address
// that names no server or a port out of range.
bool SetProxyWithLogin(const QString &UserAgent, const QString &Address, const QString &UserName,
                       const QString &Password, int Port);

// A proxy configuration script. The engine takes such a script only when
// it starts, never while it runs, so the script cannot be set: always false.
bool SetProxyFromPAC(const QString &UserAgent, const QString &PACFile);

// Back to direct access. True.
bool RemoveProxy();

} // namespace vocab::HbTools
