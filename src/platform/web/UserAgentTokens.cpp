#include "UserAgentTokens.h"

#include "Registry.h"

namespace vocab {

namespace {

const QString PostPlatformKey =
    QStringLiteral("\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\User Agent\\Post Platform");

// A token goes inside the agent's comment: characters that would end the
// comment, part it or begin another header line are no part of one.
QString tokenOf(const QString &valueName)
{
    QString token = valueName;
    if (token.startsWith(QLatin1String("User-agent:"), Qt::CaseInsensitive)) {
        if (!token.endsWith(u')'))
            return {};
        const qsizetype open = token.lastIndexOf(u'(');
        token = token.mid(open + 1, token.size() - open - 2);
    }
    for (const QChar c : token)
        if (c == u'(' || c == u')' || c == u';' || c.unicode() < 0x20 || c.unicode() == 0x7F)
            return {};
    return token.trimmed();
}

} // namespace

QStringList PostPlatformTokens()
{
    TRegistry registry(RegRoot::HKEY_CURRENT_USER);
    if (!registry.OpenKeyReadOnly(PostPlatformKey))
        return {};
    QStringList tokens;
    for (const QString &name : registry.GetValueNames()) {
        const QString token = tokenOf(name);
        if (!token.isEmpty() && !tokens.contains(token))
            tokens.append(token);
    }
    return tokens;
}

QString AgentWithTokens(const QString &agent, const QStringList &tokens)
{
    if (tokens.isEmpty())
        return agent;
    const QString added = tokens.join(QLatin1String("; "));
    const qsizetype open = agent.indexOf(u'(');
    const qsizetype close = open < 0 ? -1 : agent.indexOf(u')', open);
    if (close < 0) {
        const qsizetype productEnd = agent.indexOf(u' ');
        const qsizetype at = productEnd < 0 ? agent.size() : productEnd;
        return agent.left(at) + QStringLiteral(" (") + added + u')' + agent.mid(at);
    }
    const bool emptyComment = agent.mid(open + 1, close - open - 1).trimmed().isEmpty();
    return agent.left(close) + (emptyComment ? QString() : QStringLiteral("; ")) + added + agent.mid(close);
}

} // namespace vocab
