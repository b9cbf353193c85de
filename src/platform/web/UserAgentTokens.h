#pragma once

#include <QString>
#include <QStringList>

namespace vocab {

// The user's additions to every browser's user agent: the value names under
// HKEY_CURRENT_USER "...\Internet Settings\User Agent\Post Platform", each a
// token of its own. A name of the long form "User-agent: <agent>(<token>)"
// adds the token between its last parentheses; one of the form without them
// ("User-agent: <agent>") adds nothing.
QStringList PostPlatformTokens();

// The agent with the tokens added at the end of its first parenthesised
// part, as "Mozilla/5.0 (X11; Linux x86_64; a; b) ..."; an agent without one
// gets a part of its own after the product.
QString AgentWithTokens(const QString &agent, const QStringList &tokens);

} // namespace vocab
