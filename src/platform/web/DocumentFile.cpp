#include "DocumentFile.h"

#include "HtmlDocument.h"

#include <QStringEncoder>

namespace vocab {

QString DocumentHtml(const IDocumentAutomation &automation)
{
    return automation
        .Invoke(QStringLiteral("var t=d.doctype?new XMLSerializer().serializeToString(d.doctype)+'\\n':'';"
                               "return t+(d.documentElement?d.documentElement.outerHTML:'');"))
        .toString();
}

QByteArray DocumentBytes(const IDocumentAutomation &automation)
{
    const QString html = DocumentHtml(automation);
    const QString charset = automation.Invoke(QStringLiteral("return d.characterSet;")).toString();
    QStringEncoder encoder(charset.toLatin1().constData());
    if (!encoder.isValid())
        return html.toUtf8();
    return encoder.encode(html);
}

} // namespace vocab
