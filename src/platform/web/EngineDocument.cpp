#include "EngineDocument.h"

#include "EngineCommands.h"
#include "EngineTextRange.h"
#include "OleError.h"
#include "PageWriter.h"
#include "ScriptRunner.h"

#include <QWebEnginePage>
#include <QWebEngineSettings>

namespace vocab {

namespace {

QString selectionOf(const QString &window)
{
    return window + QStringLiteral(".getSelection()");
}

class EngineSelection : public IHTMLSelectionObject {
public:
    EngineSelection(const PageScripts &scripts, QString window) : m_scripts(scripts), m_window(std::move(window)) {}
    QString type() const override
    {
        const bool text = m_scripts.readBool(
            QStringLiteral("(function(s){return s.rangeCount>0&&!s.isCollapsed;})(%1)").arg(selectionOf(m_window)));
        return text ? QStringLiteral("Text") : QStringLiteral("None");
    }
    std::unique_ptr<IHTMLTxtRange> createRange() const override
    {
        return EngineTextRange::ofSelection(m_scripts, m_window);
    }

private:
    const PageScripts &m_scripts;
    QString m_window;
};

} // namespace

QString EngineElement::property(const char *name) const
{
    return m_scripts.readString(QStringLiteral("(%1).%2").arg(m_expression, QLatin1String(name)));
}

QString EngineElement::tagName() const { return property("tagName"); }
QString EngineElement::innerText() const { return property("innerText"); }
QString EngineElement::innerHTML() const { return property("innerHTML"); }
QString EngineElement::outerHTML() const { return property("outerHTML"); }

void EngineElement::setInnerHTML(const QString &html)
{
    m_scripts.run(QStringLiteral("(%1).innerHTML=%2;").arg(m_expression, jsString(html)));
}

void EngineElement::focus()
{
    m_scripts.run(QStringLiteral("(%1).focus();").arg(m_expression));
}

QRect EngineElement::getBoundingClientRect() const
{
    const QVariantList box = m_scripts
                                 .read(QStringLiteral("(function(r){return [r.left,r.top,r.width,r.height];})((%1).getBoundingClientRect())")
                                           .arg(m_expression))
                                 .toList();
    if (box.size() != 4)
        return {};
    return QRect(qRound(box[0].toDouble()), qRound(box[1].toDouble()), qRound(box[2].toDouble()), qRound(box[3].toDouble()));
}

EngineBodyElement::EngineBodyElement(const PageScripts &scripts, const QString &window)
    : EngineElement(scripts, window + QStringLiteral(".document.body")), m_window(window)
{
}

std::unique_ptr<IHTMLTxtRange> EngineBodyElement::createTextRange() const
{
    return EngineTextRange::overBody(scripts(), m_window);
}

ScriptErrorEvent::ScriptErrorEvent(int line, const QString &message, const QString &url)
{
    // The engine gives neither the column nor an error number.
    m_properties.insert(QStringLiteral("errorline"), line);
    m_properties.insert(QStringLiteral("errorcharacter"), QString());
    m_properties.insert(QStringLiteral("errorcode"), QString());
    m_properties.insert(QStringLiteral("errormessage"), message);
    m_properties.insert(QStringLiteral("errorurl"), url);
}

bool ScriptErrorEvent::getProperty(const QString &name, QVariant &value) const
{
    const auto it = m_properties.constFind(name.toLower());
    if (it == m_properties.constEnd())
        return false;
    value = *it;
    return true;
}

void EngineWindow::scrollBy(int x, int y)
{
    m_scripts.run(QStringLiteral("%1.scrollBy(%2,%3);").arg(m_window).arg(x).arg(y));
}

EngineDocument::EngineDocument(const PageScripts &scripts, PageWriter *writer, EngineCommands &commands, QString window)
    : m_scripts(scripts),
      m_writer(writer),
      m_commands(commands),
      m_windowExpression(std::move(window)),
      m_document(m_windowExpression + QStringLiteral(".document")),
      m_window(scripts, m_windowExpression),
      m_script(scripts, m_windowExpression)
{
}

QString EngineDocument::of(const char *member) const
{
    return m_document + u'.' + QLatin1String(member);
}

QString EngineDocument::title() const { return m_scripts.readString(of("title")); }
QString EngineDocument::url() const { return PageWriter::withoutPageName(m_scripts.readString(of("URL"))); }
QString EngineDocument::charset() const { return m_scripts.readString(of("characterSet")); }
QString EngineDocument::cookie() const { return m_scripts.readString(of("cookie")); }
QString EngineDocument::readyState() const { return m_scripts.readString(of("readyState")); }
QString EngineDocument::compatMode() const { return m_scripts.readString(of("compatMode")); }

void EngineDocument::setCharset(const QString &charset)
{
    // A loaded document keeps the encoding it was read with; the new one
    // applies to documents that name none, from the next load (a refresh).
    if (m_charsetHook) {
        m_charsetHook(charset);
        return;
    }
    if (QWebEnginePage *page = m_scripts.page())
        page->settings()->setDefaultTextEncoding(charset);
}

QString EngineDocument::designMode() const
{
    // The engine answers in lower case and knows no "inherit".
    const QString mode = m_scripts.readString(of("designMode"));
    if (mode == QLatin1String("on"))
        return QStringLiteral("On");
    if (mode == QLatin1String("off"))
        return QStringLiteral("Off");
    return mode;
}

void EngineDocument::setDesignMode(const QString &mode)
{
    const char *value = mode.compare(QLatin1String("On"), Qt::CaseInsensitive) == 0 ? "on" : "off";
    m_scripts.run(QStringLiteral("%1='%2';").arg(of("designMode"), QLatin1String(value)));
}

std::unique_ptr<IHTMLElement> EngineDocument::elementIfPresent(const QString &expression) const
{
    if (!m_scripts.readBool(expression))
        return nullptr;
    return std::make_unique<EngineElement>(m_scripts, expression);
}

std::unique_ptr<IHTMLElement> EngineDocument::body() const
{
    if (!m_scripts.readBool(of("body")))
        return nullptr;
    return std::make_unique<EngineBodyElement>(m_scripts, m_windowExpression);
}

std::unique_ptr<IHTMLElement> EngineDocument::documentElement() const
{
    return elementIfPresent(of("documentElement"));
}

std::unique_ptr<IHTMLElement> EngineDocument::getElementById(const QString &id) const
{
    return elementIfPresent(QStringLiteral("%1.getElementById(%2)").arg(m_document, jsString(id)));
}

std::unique_ptr<IHTMLElement> EngineDocument::activeElement() const
{
    // The element is kept in a list of the program's own script world, which
    // the page can neither see nor change, so the binding holds while the
    // focus moves on.
    const QVariant index = m_scripts.read(
        QStringLiteral("(function(e){if(!e)return -1;var r=window.__vocabElements||(window.__vocabElements=[]);"
                       "r.push(e);return r.length-1;})(%1)")
            .arg(of("activeElement")));
    if (!index.isValid() || index.toInt() < 0)
        return nullptr;
    return std::make_unique<EngineElement>(m_scripts, QStringLiteral("window.__vocabElements[%1]").arg(index.toInt()));
}

std::unique_ptr<IHTMLSelectionObject> EngineDocument::selection() const
{
    return std::make_unique<EngineSelection>(m_scripts, m_windowExpression);
}

void EngineDocument::write(const QString &text)
{
    if (!m_open) {
        m_written.clear();
        m_open = true;
    }
    m_written += text;
}

void EngineDocument::close()
{
    if (!m_open)
        return;
    m_open = false;
    const QString text = std::move(m_written);
    m_written.clear();
    if (m_writer) {
        m_writer->writePage(text);
        return;
    }
    m_scripts.run(QStringLiteral("(function(d){d.open();d.write(%1);d.close();})(%2);").arg(jsString(text), m_document));
}

bool EngineDocument::execCommand(const QString &command, bool showUI, const QVariant &value)
{
    return m_scripts
        .read(QStringLiteral("%1.execCommand(%2,%3,%4)")
                  .arg(m_document, jsString(command), showUI ? QStringLiteral("true") : QStringLiteral("false"),
                       value.isValid() ? jsString(value.toString()) : QStringLiteral("null")))
        .toBool();
}

bool EngineDocument::queryCommandEnabled(const QString &command) const
{
    return m_scripts.readBool(QStringLiteral("%1.queryCommandEnabled(%2)").arg(m_document, jsString(command)));
}

bool EngineDocument::queryCommandState(const QString &command) const
{
    return m_scripts.readBool(QStringLiteral("%1.queryCommandState(%2)").arg(m_document, jsString(command)));
}

IOleCommandTarget *EngineDocument::commandTarget()
{
    return &m_commands;
}

void EngineDocument::focus()
{
    m_scripts.run(QStringLiteral("%1.focus();").arg(m_windowExpression));
}

bool EngineDocument::hasFocus() const
{
    return m_scripts.readBool(QStringLiteral("%1.hasFocus()").arg(m_document));
}

QVariant EngineDocument::Invoke(const QString &body, const QVariantList &args) const
{
    return invokeInWindow(m_scripts, m_windowExpression, body, args);
}

QVariant invokeInWindow(const PageScripts &scripts, const QString &window, const QString &body, const QVariantList &args)
{
    // The window is reached inside the guard, so a frame that is gone or of
    // another origin fails as a call does.
    const QString script = QStringLiteral("(function(a){try{var w=%1,d=w.document;return {ok:true,v:(function(){%2\n})()};}"
                                          "catch(e){return {ok:false,name:String(e&&e.name),message:String(e)};}})(%3)")
                               .arg(window, body, jsArray(args));
    bool answered = false;
    const QVariantMap answer = scripts.evaluate(script, &answered).toMap();
    if (!answered || answer.isEmpty())
        throw EOleException(E_FAIL, QStringLiteral("Страница не ответила на вызов"));
    if (!answer.value(QStringLiteral("ok")).toBool()) {
        const bool denied = answer.value(QStringLiteral("name")).toString() == QLatin1String("SecurityError");
        throw EOleException(denied ? E_ACCESSDENIED : DISP_E_EXCEPTION, answer.value(QStringLiteral("message")).toString());
    }
    return answer.value(QStringLiteral("v"));
}

std::unique_ptr<EngineDocument> EngineDocument::frameDocument(int index) const
{
    return std::make_unique<EngineDocument>(m_scripts, nullptr, m_commands,
                                            QStringLiteral("%1.frames[%2]").arg(m_windowExpression).arg(index));
}

} // namespace vocab
