#pragma once

// The document of the engine control: every read runs a short script in the
// page and waits for its answer (ScriptRunner.h); writes go to PageWriter.

#include "EngineScript.h"
#include "HtmlDocument.h"

#include <QHash>
#include <QString>

#include <functional>
#include <utility>

namespace vocab {

class EngineCommands;
class PageScripts;
class PageWriter;

// An element, named by the script expression that finds it.
class EngineElement : public IHTMLElement {
public:
    EngineElement(const PageScripts &scripts, QString expression) : m_scripts(scripts), m_expression(std::move(expression)) {}

    QString tagName() const override;
    QString innerText() const override;
    QString innerHTML() const override;
    QString outerHTML() const override;
    void setInnerHTML(const QString &html) override;
    void focus() override;
    QRect getBoundingClientRect() const override;

protected:
    const PageScripts &scripts() const { return m_scripts; }

private:
    QString property(const char *name) const;

    const PageScripts &m_scripts;
    QString m_expression;
};

// The body of the document of a window: an element that makes text ranges.
class EngineBodyElement final : public EngineElement, public IHTMLBodyElement {
public:
    EngineBodyElement(const PageScripts &scripts, const QString &window);
    std::unique_ptr<IHTMLTxtRange> createTextRange() const override;

private:
    QString m_window;
};

// A script error as the control reports it to its host.
class ScriptErrorEvent : public IHTMLEventObj {
public:
    ScriptErrorEvent(int line, const QString &message, const QString &url);
    bool getProperty(const QString &name, QVariant &value) const override;

private:
    QHash<QString, QVariant> m_properties; // by lower-case name
};

class EngineWindow : public IHTMLWindow2 {
public:
    EngineWindow(const PageScripts &scripts, QString window) : m_scripts(scripts), m_window(std::move(window)) {}

    void scrollBy(int x, int y) override;
    const IHTMLEventObj *event() const override { return m_event; }
    QVariant execScript(const QString &code, const QString &language) override; // EngineScript.cpp
    void setEvent(const IHTMLEventObj *event) { m_event = event; }

private:
    const PageScripts &m_scripts;
    QString m_window;
    const IHTMLEventObj *m_event = nullptr;
};

// A late-bound call on the document of the window `window` (a script
// expression), as IDocumentAutomation::Invoke says.
QVariant invokeInWindow(const PageScripts &scripts, const QString &window, const QString &body, const QVariantList &args);

// The document of the page, or of one of its frames: `window` is the script
// expression of the document's window ("window" for the page itself,
// "window.frames[0]" for its first frame). A frame's document is written by
// its own document.write; the page's document by the page writer.
class EngineDocument : public IHTMLDocument2,
                       public IHTMLDocument3,
                       public IHTMLDocument4,
                       public IHTMLDocument5,
                       public IDocumentAutomation {
public:
    EngineDocument(const PageScripts &scripts, PageWriter *writer, EngineCommands &commands,
                   QString window = QStringLiteral("window"));

    QString title() const override;
    QString url() const override;
    QString charset() const override;
    void setCharset(const QString &charset) override;
    QString cookie() const override;
    QString readyState() const override;
    QString designMode() const override;
    void setDesignMode(const QString &mode) override;
    std::unique_ptr<IHTMLElement> body() const override;
    std::unique_ptr<IHTMLSelectionObject> selection() const override;
    std::unique_ptr<IHTMLElement> activeElement() const override;
    IHTMLWindow2 *parentWindow() override { return &m_window; }
    EngineWindow &window() { return m_window; }

    void write(const QString &text) override;
    void close() override;

    bool execCommand(const QString &command, bool showUI, const QVariant &value) override;
    bool queryCommandEnabled(const QString &command) const override;
    bool queryCommandState(const QString &command) const override;
    IOleCommandTarget *commandTarget() override;
    IDispatch *Script() override { return &m_script; }

    std::unique_ptr<IHTMLElement> getElementById(const QString &id) const override;
    std::unique_ptr<IHTMLElement> documentElement() const override;

    void focus() override;
    bool hasFocus() const override;

    QString compatMode() const override;

    QVariant Invoke(const QString &body, const QVariantList &args = {}) const override;

    // The script expression of the document's window.
    const QString &windowExpression() const { return m_windowExpression; }
    // The document of the frame `index` of this document's window, whether
    // or not that frame exists; it lives on the same page.
    std::unique_ptr<EngineDocument> frameDocument(int index) const;
    const PageScripts &scripts() const { return m_scripts; }
    // Takes a character set given to the document in place of setting the
    // engine's default for every page.
    void setCharsetHook(std::function<void(const QString &)> hook) { m_charsetHook = std::move(hook); }

private:
    std::unique_ptr<IHTMLElement> elementIfPresent(const QString &expression) const;
    QString of(const char *member) const;

    const PageScripts &m_scripts;
    PageWriter *m_writer;
    EngineCommands &m_commands;
    QString m_windowExpression;
    QString m_document;
    EngineWindow m_window;
    EngineScriptObject m_script;
    QString m_written;
    bool m_open = false;
    std::function<void(const QString &)> m_charsetHook;
};

} // namespace vocab
