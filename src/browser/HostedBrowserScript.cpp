// THostedBrowser's methods that run script in its page.

#include "HostedBrowser.h"

namespace vocab {

void THostedBrowser::ExecScript(const QString &sExpression, const QString &sLanguage)
{
    HbTools::ExecScript(*this, sExpression, sLanguage);
}

QVariant THostedBrowser::ExecScriptEx(const QString &FunctionName, const TVarRecList &Params)
{
    return HbTools::ExecScriptEx(*this, FunctionName, Params);
}

} // namespace vocab
