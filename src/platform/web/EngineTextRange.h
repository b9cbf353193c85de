#pragma once

// The text ranges of the engine's documents. The range itself lives in the
// page, in the script library of EngineTextRangeScript.cpp; this object
// names it by its number and calls the library synchronously through the
// document's late binding, its arguments passed as data. The library is put
// into the page the first time a call finds it missing.

#include "HtmlDocument.h"

#include <QString>
#include <QVariant>

namespace vocab {

class PageScripts;

// The library's source: run in the program's script world of a page, it
// puts the library there, once.
const QString &textRangeLibrary();

class EngineTextRange final : public IHTMLTxtRange {
public:
    // A range over the body of the document of `window` (a script
    // expression, as EngineDocument takes it).
    static std::unique_ptr<EngineTextRange> overBody(const PageScripts &scripts, const QString &window);
    // The range of the selection of that document: it reads the selection
    // until a call first needs a range of its own.
    static std::unique_ptr<EngineTextRange> ofSelection(const PageScripts &scripts, const QString &window);
    ~EngineTextRange() override;

    EngineTextRange(const EngineTextRange &) = delete;
    EngineTextRange &operator=(const EngineTextRange &) = delete;

    QString text() const override;
    QString htmlText() const override;
    int moveStart(const QString &unit, int count) override;
    int move(const QString &unit, int count) override;
    bool findText(const QString &text, int count, int flags) override;
    void scrollIntoView(bool alignToTop) override;
    void select() override;
    void pasteHTML(const QString &html) override;
    std::unique_ptr<IHTMLTxtRange> duplicate() const override;
    int compareEndPoints(const QString &how, const IHTMLTxtRange &other) const override;

private:
    EngineTextRange(const PageScripts &scripts, QString window, int id);

    // The library's operation on this range, with the range's number
    // before the arguments; the range is made from the selection first when
    // it has none yet.
    QVariant call(const char *operation, QVariantList args = {}) const;
    // An operation that makes a range: its number.
    int make(const char *operation, const QVariantList &args = {}) const;

    const PageScripts &m_scripts;
    QString m_window;
    mutable int m_id; // 0: still the selection's
};

} // namespace vocab
