#pragma once

// The document of the engine control: every read runs a short script in the
// page and waits for its answer (ScriptRunner.h); writes go to PageWriter.

#include "HtmlDocument.h"

#include <QHash>
#include <QString>

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

private:
    QString property(const char *name) const;

    const PageScripts &m_scripts;
    QString m_expression;
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
    explicit EngineWindow(const PageScripts &scripts) : m_scripts(scripts) {}

    void scrollBy(int x, int y) override;
    const IHTMLEventObj *event() const override { return m_event; }
    void setEvent(const IHTMLEventObj *event) { m_event = event; }

private:
    const PageScripts &m_scripts;
    const IHTMLEventObj *m_event = nullptr;
};

class EngineDocument : public IHTMLDocument2, public IHTMLDocument3, public IHTMLDocument4, public IHTMLDocument5 {
public:
    EngineDocument(const PageScripts &scripts, PageWriter &writer, EngineCommands &commands);

    QString title() const override;
    QString url() const override;
    QString charset() const override;
    void setCharset(const QString &charset) override;
    QString cookie() const override;
    QString designMode() const override;
    void setDesignMode(const QString &mode) override;
    std::unique_ptr<IHTMLElement> body() const override;
    std::unique_ptr<IHTMLSelectionObject> selection() const override;
    IHTMLWindow2 *parentWindow() override { return &m_window; }
    EngineWindow &window() { return m_window; }

    void write(const QString &text) override;
    void close() override;

    bool execCommand(const QString &command, bool showUI, const QVariant &value) override;
    bool queryCommandEnabled(const QString &command) const override;
    bool queryCommandState(const QString &command) const override;
    IOleCommandTarget *commandTarget() override;

    std::unique_ptr<IHTMLElement> getElementById(const QString &id) const override;
    std::unique_ptr<IHTMLElement> documentElement() const override;

    void focus() override;
    bool hasFocus() const override;

    QString compatMode() const override;

private:
    std::unique_ptr<IHTMLElement> elementIfPresent(const QString &expression) const;

    const PageScripts &m_scripts;
    PageWriter &m_writer;
    EngineCommands &m_commands;
    EngineWindow m_window;
    QString m_written;
    bool m_open = false;
};

} // namespace vocab
