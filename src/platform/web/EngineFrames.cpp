#include "EngineFrames.h"

#include "OleError.h"

namespace vocab {

QVariant EngineFrameBrowser::quietly(const QString &body, const QVariantList &args) const
{
    try {
        return m_document->Invoke(body, args);
    } catch (const EOleException &) {
        return {};
    }
}

void EngineFrameBrowser::Navigate(const QString &URL, const QVariant &Flags)
{
    // A frame of another origin may still be sent elsewhere.
    if (Flags.toInt() & navNoHistory)
        m_document->Invoke(QStringLiteral("w.location.replace(a[0]);"), {URL});
    else
        m_document->Invoke(QStringLiteral("w.location.href=a[0];"), {URL});
}

void EngineFrameBrowser::Navigate2(const QVariant &URL, const QVariant &Flags, const QVariant &, const QVariant &,
                                   const QVariant &)
{
    Navigate(URL.toString(), Flags);
}

void EngineFrameBrowser::GoBack()
{
    quietly(QStringLiteral("w.history.back();"));
}

void EngineFrameBrowser::GoForward()
{
    quietly(QStringLiteral("w.history.forward();"));
}

void EngineFrameBrowser::Refresh2(int)
{
    // A frame of another origin cannot be told to reload; its element in
    // the page can be given its address again.
    m_document->Invoke(QStringLiteral(
        "try{w.location.reload();return;}catch(e){}"
        "var fs=w.parent.document.querySelectorAll('iframe,frame');"
        "for(var i=0;i<fs.length;++i)if(fs[i].contentWindow===w){fs[i].src=fs[i].src;return;}"));
}

void EngineFrameBrowser::Stop()
{
    quietly(QStringLiteral("w.stop();"));
}

QString EngineFrameBrowser::LocationURL() const
{
    return quietly(QStringLiteral("return w.location.href;")).toString();
}

QString EngineFrameBrowser::LocationName() const
{
    const QString title = quietly(QStringLiteral("return d.title;")).toString();
    return title.isEmpty() ? LocationURL() : title;
}

int EngineFrameBrowser::ReadyState() const
{
    const QString state = quietly(QStringLiteral("return d.readyState;")).toString();
    if (state == QLatin1String("loading"))
        return READYSTATE_LOADING;
    if (state == QLatin1String("interactive"))
        return READYSTATE_INTERACTIVE;
    // A document that cannot be read is not waited for.
    return READYSTATE_COMPLETE;
}

IHTMLDocument2 *EngineFrameBrowser::Document()
{
    return quietly(QStringLiteral("return !!d;")).toBool() ? m_document.get() : nullptr;
}

} // namespace vocab
