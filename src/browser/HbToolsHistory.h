#pragma once

// The browser tools that act on the browsing state of the whole program
// rather than on one page: the history of visited addresses, the cache,
// the typed addresses, whether the machine is connected, and the offline
// mode. Each control keeps its history and cache in a profile of its own,
// so clearing reaches every live control.

#include <cstdint>

namespace vocab::HbTools {

// The code a cache step answers when no entry is left.
inline constexpr int ERROR_NO_MORE_ITEMS = 259;

// The handle of a walk over the cache; 0 when there is none.
using TCacheEnumHandle = std::uintptr_t;

// Forgets every visited address of every live control.
void ClearHistory();

// The steps of the walk that deletes the cache's entries: 0 when an entry
// was found and deleted, else ERROR_NO_MORE_ITEMS or another error code.
// The engine's cache cannot be walked entry by entry: the first step
// empties the cache of every live control at once, with its cookies and
// visited addresses, and answers that no entry is left, with no walk
// (handle 0); the next step has nothing more to find.
int DeleteFirstCacheEntry(TCacheEnumHandle &hEnum);
int DeleteNextCacheEntry(TCacheEnumHandle hEnum);
// Deletes every entry of the cache: pages, cookies and visited addresses.
void ClearCache();

// Deletes the list of typed addresses from the registry; no error when
// there is none or the registry cannot be written.
void ClearTypedUrls();

// Whether the machine reports a connection; never while offline, and
// false when the question cannot be answered.
bool CheckOnlineStatus();

// Offline (true) or connected (false), for the whole program: while
// offline, no control and no download reaches the network. Whether the
// state was set.
bool SetConnectedState(bool Offline);
bool GoOnline();
bool GoOffline();
// Whether the program is offline by the user's choice.
bool IsGlobalOffline();

} // namespace vocab::HbTools
