#include "EngineDocument.h"

#include "EngineCommands.h"
#include "PageWriter.h"
#include "ScriptRunner.h"

#include <QWebEnginePage>
#include <QWebEngineSettings>

namespace vocab {

namespace {

class EngineTxtRange : public IHTMLTxtRange {
public:
    explicit EngineTxtRange(const PageScripts &scripts) : m_scripts(scripts) {}
    QString text() const override { return m_scripts.readString(QStringLiteral("window.getSelection().toString()")); }

private:
    const PageScripts &m_scripts;
};

class EngineSelection : public IHTMLSelectionObject {
public:
    explicit EngineSelection(const PageScripts &scripts) : m_scripts(scripts) {}
    QString type() const override
    {
        const bool text = m_scripts.readBool(QStringLiteral("(function(s){return s.rangeCount>0&&!s.isCollapsed;})(window.getSelection())"));
        return text ? QStringLiteral("Text") : QStringLiteral("None");
    }
    std::unique_ptr<IHTMLTxtRange> createRange() const override { return std::make_unique<EngineTxtRange>(m_scripts); }

private:
    const PageScripts &m_scripts;
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
    m_scripts.run(QStringLiteral("window.scrollBy(%1,%2);").arg(x).arg(y));
}

EngineDocument::EngineDocument(const PageScripts &scripts, PageWriter &writer, EngineCommands &commands)
    : m_scripts(scripts), m_writer(writer), m_commands(commands), m_window(scripts)
{
}

QString EngineDocument::title() const { return m_scripts.readString(QStringLiteral("document.title")); }
QString EngineDocument::url() const { return m_scripts.readString(QStringLiteral("document.URL")); }
QString EngineDocument::charset() const { return m_scripts.readString(QStringLiteral("document.characterSet")); }
QString EngineDocument::cookie() const { return m_scripts.readString(QStringLiteral("document.cookie")); }
QString EngineDocument::compatMode() const { return m_scripts.readString(QStringLiteral("document.compatMode")); }

void EngineDocument::setCharset(const QString &charset)
{
    // A loaded document keeps the encoding it was read with; the new one
    // applies to documents that name none, from the next load (a refresh).
    if (QWebEnginePage *page = m_scripts.page())
        page->settings()->setDefaultTextEncoding(charset);
}

QString EngineDocument::designMode() const
{
    // The engine answers in lower case and knows no "inherit".
    const QString mode = m_scripts.readString(QStringLiteral("document.designMode"));
    if (mode == QLatin1String("on"))
        return QStringLiteral("On");
    if (mode == QLatin1String("off"))
        return QStringLiteral("Off");
    return mode;
}

void EngineDocument::setDesignMode(const QString &mode)
{
    const char *value = mode.compare(QLatin1String("On"), Qt::CaseInsensitive) == 0 ? "on" : "off";
    m_scripts.run(QStringLiteral("document.designMode='%1';").arg(QLatin1String(value)));
}

std::unique_ptr<IHTMLElement> EngineDocument::elementIfPresent(const QString &expression) const
{
    if (!m_scripts.readBool(expression))
        return nullptr;
    return std::make_unique<EngineElement>(m_scripts, expression);
}

std::unique_ptr<IHTMLElement> EngineDocument::body() const
{
    return elementIfPresent(QStringLiteral("document.body"));
}

std::unique_ptr<IHTMLElement> EngineDocument::documentElement() const
{
    return elementIfPresent(QStringLiteral("document.documentElement"));
}

std::unique_ptr<IHTMLElement> EngineDocument::getElementById(const QString &id) const
{
    return elementIfPresent(QStringLiteral("document.getElementById(%1)").arg(jsString(id)));
}

std::unique_ptr<IHTMLSelectionObject> EngineDocument::selection() const
{
    return std::make_unique<EngineSelection>(m_scripts);
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
    m_writer.writePage(m_written);
    m_written.clear();
}

bool EngineDocument::execCommand(const QString &command, bool showUI, const QVariant &value)
{
    return m_scripts
        .read(QStringLiteral("document.execCommand(%1,%2,%3)")
                  .arg(jsString(command), showUI ? QStringLiteral("true") : QStringLiteral("false"),
                       value.isValid() ? jsString(value.toString()) : QStringLiteral("null")))
        .toBool();
}

bool EngineDocument::queryCommandEnabled(const QString &command) const
{
    return m_scripts.readBool(QStringLiteral("document.queryCommandEnabled(%1)").arg(jsString(command)));
}

bool EngineDocument::queryCommandState(const QString &command) const
{
    return m_scripts.readBool(QStringLiteral("document.queryCommandState(%1)").arg(jsString(command)));
}

IOleCommandTarget *EngineDocument::commandTarget()
{
    return &m_commands;
}

void EngineDocument::focus()
{
    m_scripts.run(QStringLiteral("window.focus();"));
}

bool EngineDocument::hasFocus() const
{
    return m_scripts.readBool(QStringLiteral("document.hasFocus()"));
}

} // namespace vocab
