#pragma once

// The document of the browser control as its users see it: a document with
// its elements, selection and window. Every read asks the loaded page and
// waits for its answer (see ScriptRunner.h), so each call may run the event
// loop for a moment. A read that gets no answer yields the empty value.

#include "ComTypes.h"

#include <QRect>
#include <QString>
#include <QVariant>

#include <memory>

namespace vocab {

class IDispatch;
class IOleCommandTarget;

// An element of the document. It stays bound to the same place of the page
// (the body, or the element of an id) for as long as it lives.
class IHTMLElement : public virtual IInterface {
public:
    virtual QString tagName() const = 0;
    virtual QString innerText() const = 0;
    virtual QString innerHTML() const = 0;
    virtual QString outerHTML() const = 0;
    virtual void setInnerHTML(const QString &html) = 0;
    // The part of IHTMLElement2 the host uses.
    virtual void focus() = 0;
    virtual QRect getBoundingClientRect() const = 0;
};

// A stretch of a document's text: the selection's, or one made over the
// body. Its positions are counted in characters of the body's text, which
// is the text of the body's text nodes in document order, without what is
// never shown as text (scripts, style sheets, text areas, drop-down lists,
// inline frames, templates, noscript and noframes), every run of white space
// read as one blank. A range stays where
// it is while the document changes around it. Every call but text() and
// htmlText() on a selection's range first takes the selection as it stands,
// and from then on the range is a range of its own. A failing call, or one
// on a range whose page has gone, throws EOleException (OleError.h).
class IHTMLTxtRange : public virtual IInterface {
public:
    virtual QString text() const = 0;
    // The range's content as HTML.
    virtual QString htmlText() const = 0;
    // Moves the range's start by `count` units (only "character" is known),
    // as far as the body's text goes; the end follows when the start passes
    // it. The number of units it really moved.
    virtual int moveStart(const QString &unit, int count) = 0;
    // Collapses the range to its start, then moves it by `count` units, as
    // far as the body's text goes; the number of units it really moved.
    virtual int move(const QString &unit, int count) = 0;
    // Looks for the text and makes the range the match; unchanged when none.
    // A range with text in it is searched itself; a collapsed one from its
    // position to the end of the body's text (count 0 or more), or in the
    // text before the position (count below 0). A count of 0 or more finds
    // the first match, a negative one the last. Flags: 2 whole words only, 4 letter case as written.
    virtual bool findText(const QString &text, int count, int flags) = 0;
    virtual void scrollIntoView(bool alignToTop) = 0;
    // The range becomes the document's selection.
    virtual void select() = 0;
    // The markup replaces the range's content (scripts in it do not run);
    // the range is then collapsed after what was pasted.
    virtual void pasteHTML(const QString &html) = 0;
    virtual std::unique_ptr<IHTMLTxtRange> duplicate() const = 0;
    // -1, 0 or 1 as an end of this range ("StartToEnd": its start) stands
    // before, at or after an end of the other ("StartToEnd": its end), by
    // their positions in the text. Both ranges must be of one document.
    virtual int compareEndPoints(const QString &how, const IHTMLTxtRange &other) const = 0;
};

// What the document's body offers besides being an element.
class IHTMLBodyElement : public virtual IInterface {
public:
    // A range over the whole text of the body.
    virtual std::unique_ptr<IHTMLTxtRange> createTextRange() const = 0;
};

class IHTMLSelectionObject : public virtual IInterface {
public:
    // "None", "Text" or "Control", as the selection is.
    virtual QString type() const = 0;
    virtual std::unique_ptr<IHTMLTxtRange> createRange() const = 0;
};

// The event a script error is described by, while the control reports it.
// Properties are read by name; an unknown name gives false.
class IHTMLEventObj : public virtual IInterface {
public:
    virtual bool getProperty(const QString &name, QVariant &value) const = 0;
};

class IHTMLWindow2 : public virtual IInterface {
public:
    virtual void scrollBy(int x, int y) = 0;
    // The event being handled; null outside a report of the control.
    virtual const IHTMLEventObj *event() const = 0;
    // Runs script text of a language at the window's global level, as the
    // page's own scripts run, and waits until it has run. Throws
    // EOleException (OleError.h) for a script that fails, for a language
    // the window cannot run, and when the page gives no answer.
    virtual QVariant execScript(const QString &code, const QString &language) = 0;
};

class IHTMLDocument2 : public virtual IInterface {
public:
    virtual QString title() const = 0;
    virtual QString url() const = 0;
    virtual QString charset() const = 0;
    virtual void setCharset(const QString &charset) = 0;
    virtual QString cookie() const = 0;
    // "loading", "interactive" or "complete".
    virtual QString readyState() const = 0;
    // "On", "Off" or "Inherit".
    virtual QString designMode() const = 0;
    virtual void setDesignMode(const QString &mode) = 0;
    // Null while the document has no body.
    virtual std::unique_ptr<IHTMLElement> body() const = 0;
    virtual std::unique_ptr<IHTMLSelectionObject> selection() const = 0;
    // The element that has the focus, bound to that element; null for none.
    virtual std::unique_ptr<IHTMLElement> activeElement() const = 0;
    virtual IHTMLWindow2 *parentWindow() = 0;

    // Writing: the text of every write() between open and close() becomes
    // the new page, which replaces the old one whole when close() is called.
    virtual void write(const QString &text) = 0;
    virtual void close() = 0;

    virtual bool execCommand(const QString &command, bool showUI, const QVariant &value) = 0;
    virtual bool queryCommandEnabled(const QString &command) const = 0;
    virtual bool queryCommandState(const QString &command) const = 0;

    // The document's own command target (zoom, edit commands, refresh).
    virtual IOleCommandTarget *commandTarget() = 0;
    // The script object of the document's window: the page's global
    // functions and variables, named when the call is made. It lives as long
    // as the document. Null when the document has none.
    virtual IDispatch *Script() = 0;
};

// Late binding on a document: its members named when the call is made, as
// a script over the document does. `body` is the body of a script function
// that sees the document as `d`, its window as `w` and the arguments as the
// array `a`; the arguments go in as data, never as script text. The answer
// is the function's value, as plain data (lists and maps for arrays and
// objects). A script that throws, or a page that gives no answer, throws
// EOleException (OleError.h): E_ACCESSDENIED for a document of another
// origin, DISP_E_EXCEPTION for any other error, E_FAIL for no answer.
class IDocumentAutomation : public virtual IInterface {
public:
    virtual QVariant Invoke(const QString &body, const QVariantList &args = {}) const = 0;
};

class IHTMLDocument3 : public virtual IInterface {
public:
    virtual std::unique_ptr<IHTMLElement> getElementById(const QString &id) const = 0;
    virtual std::unique_ptr<IHTMLElement> documentElement() const = 0;
};

class IHTMLDocument4 : public virtual IInterface {
public:
    virtual void focus() = 0;
    virtual bool hasFocus() const = 0;
};

class IHTMLDocument5 : public virtual IInterface {
public:
    // "CSS1Compat" for a standards page, "BackCompat" for a quirks one.
    virtual QString compatMode() const = 0;
};

} // namespace vocab
