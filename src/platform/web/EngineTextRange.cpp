#include "EngineTextRange.h"

#include "EngineDocument.h"
#include "OleError.h"
#include "ScriptRunner.h"

#include <QWebEnginePage>
#include <QWebEngineScript>

namespace vocab {

namespace {

// The library's operation a[0] with the document and the rest of the
// arguments; "missing" when the page has no library yet.
const QString LibraryCall = QStringLiteral(
    "var L=window.__vocabTextRanges;if(!L)return {missing:true};"
    "if(!Object.prototype.hasOwnProperty.call(L,a[0]))throw new Error('Unknown operation: '+a[0]);"
    "return {value:L[a[0]].apply(L,[d].concat(a.slice(1)))};");

QVariant callLibrary(const PageScripts &scripts, const QString &window, const QVariantList &args)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        const QVariantMap answer = invokeInWindow(scripts, window, LibraryCall, args).toMap();
        if (!answer.value(QStringLiteral("missing")).toBool())
            return answer.value(QStringLiteral("value"));
        bool answered = false;
        scripts.evaluate(textRangeLibrary(), &answered);
        if (!answered)
            break;
    }
    throw EOleException(E_FAIL, QStringLiteral("Страница не приняла библиотеку текстовых диапазонов"));
}

QString selectionRead(const QString &window, const char *expression)
{
    return QStringLiteral("(function(w,s){%1})(%2,%2.getSelection())").arg(QLatin1String(expression), window);
}

} // namespace

EngineTextRange::EngineTextRange(const PageScripts &scripts, QString window, int id)
    : m_scripts(scripts), m_window(std::move(window)), m_id(id)
{
}

std::unique_ptr<EngineTextRange> EngineTextRange::overBody(const PageScripts &scripts, const QString &window)
{
    const int id = callLibrary(scripts, window, {QStringLiteral("create")}).toInt();
    return std::unique_ptr<EngineTextRange>(new EngineTextRange(scripts, window, id));
}

std::unique_ptr<EngineTextRange> EngineTextRange::ofSelection(const PageScripts &scripts, const QString &window)
{
    return std::unique_ptr<EngineTextRange>(new EngineTextRange(scripts, window, 0));
}

EngineTextRange::~EngineTextRange()
{
    // Without waiting: the page lets the range go when it comes to it, and
    // a page that has gone took its ranges along.
    if (m_id == 0)
        return;
    if (QWebEnginePage *page = m_scripts.page())
        page->runJavaScript(QStringLiteral("try{window.__vocabTextRanges.release(null,%1);}catch(e){}").arg(m_id),
                            QWebEngineScript::ApplicationWorld);
}

int EngineTextRange::make(const char *operation, const QVariantList &args) const
{
    QVariantList all{QLatin1String(operation)};
    all += args;
    const int id = callLibrary(m_scripts, m_window, all).toInt();
    if (id <= 0)
        throw EOleException(E_FAIL, QStringLiteral("Страница не дала текстового диапазона"));
    return id;
}

QVariant EngineTextRange::call(const char *operation, QVariantList args) const
{
    if (m_id == 0)
        m_id = make("fromSelection");
    args.prepend(m_id);
    args.prepend(QLatin1String(operation));
    return callLibrary(m_scripts, m_window, args);
}

QString EngineTextRange::text() const
{
    if (m_id == 0)
        return m_scripts.readString(selectionRead(m_window, "return s.toString();"));
    return call("text").toString();
}

QString EngineTextRange::htmlText() const
{
    if (m_id == 0)
        return m_scripts.readString(selectionRead(m_window, "if(!s.rangeCount)return '';var c=w.document.createElement('div');"
                                                            "c.appendChild(s.getRangeAt(0).cloneContents());return c.innerHTML;"));
    return call("htmlText").toString();
}

int EngineTextRange::moveStart(const QString &unit, int count)
{
    return call("moveStart", {unit, count}).toInt();
}

int EngineTextRange::move(const QString &unit, int count)
{
    return call("move", {unit, count}).toInt();
}

bool EngineTextRange::findText(const QString &text, int count, int flags)
{
    return call("findText", {text, count, flags}).toBool();
}

void EngineTextRange::scrollIntoView(bool alignToTop)
{
    call("scrollIntoView", {alignToTop});
}

void EngineTextRange::select()
{
    call("select");
}

void EngineTextRange::pasteHTML(const QString &html)
{
    call("pasteHTML", {html});
}

std::unique_ptr<IHTMLTxtRange> EngineTextRange::duplicate() const
{
    const int id = call("duplicate").toInt();
    return std::unique_ptr<IHTMLTxtRange>(new EngineTextRange(m_scripts, m_window, id));
}

int EngineTextRange::compareEndPoints(const QString &how, const IHTMLTxtRange &other) const
{
    const auto *range = dynamic_cast<const EngineTextRange *>(&other);
    if (!range || &range->m_scripts != &m_scripts)
        throw EOleException(E_FAIL, QStringLiteral("Диапазоны принадлежат разным документам"));
    if (range->m_id == 0)
        range->m_id = range->make("fromSelection");
    return call("compareEndPoints", {how, range->m_id}).toInt();
}

} // namespace vocab
