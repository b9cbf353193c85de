#pragma once

// What the component's loading, saving and navigation are made of: the
// live list of HTMLCode, the rules for what a list of lines becomes, the
// text of pages as bytes in an encoding and back, a document's persistence
// (its HTML into lines, a stream or a file, and bytes into it), the list of
// frame numbers, the download of a file and the wait's clock.

#include "ComTypes.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringConverter>
#include <QStringList>

#include <cstdint>
#include <functional>

class QIODevice;
class QUrl;

namespace vocab {

class IHTMLDocument2;

// A list of lines that tells of every change made to it, once per change.
class TNotifyStringList {
public:
    const QStringList &Lines() const { return m_lines; }
    qsizetype Count() const { return m_lines.size(); }
    // Every line followed by a line break.
    QString Text() const;

    void Add(const QString &line);
    void Clear();
    void SetText(const QString &text);
    void Assign(const QStringList &lines);

    std::function<void()> OnChange;

private:
    void changed() const;

    QStringList m_lines;
};

namespace HbTools {

// Milliseconds of a steady clock, wrapping as the platform's tick count does.
std::uint32_t GetTickCount();

// Equal under the locale's comparison, letter case counting.
bool SameAnsiStr(const QString &S1, const QString &S2);
// Whether S begins with Prefix under that comparison.
bool StrBeginsWith(const QString &Prefix, const QString &S);

// Whether the one line of HTMLCode is an address to go to rather than HTML.
bool IsAddressLine(const QString &Line);

// The lines that are loaded for `Lines` when tags are to be added: the page
// wrapped in html and body, unless its text begins with "<HTML>" in any case.
QStringList WithHtmlTags(const QStringList &Lines);

// The text of lines, each followed by a line break.
QString LinesText(const QStringList &Lines);
// Text as bytes of an encoding, with the mark of a Unicode encoding ahead.
QByteArray TextToBytes(const QString &Text, QStringConverter::Encoding Encoding);
// The text of a page's bytes: the encoding its byte-order mark or its meta
// charset names, else `Fallback` (a meta charset of no known encoding
// names nothing).
QString HtmlFromBytes(const QByteArray &Bytes, QStringConverter::Encoding Fallback);
// The charset a meta element in the page's head names, lower-cased; empty
// for none.
QByteArray MetaCharset(const QByteArray &Bytes);

// The frame numbers of a comma-separated list (blanks separate as well,
// double quotes are dropped); throws EConvertError for an entry that is no
// number.
QList<int> ParseFrameList(const QString &FrameList);

// The document's HTML, as the browser holds it now, and bytes put into it.
// 1 for no document or one that cannot be saved or loaded so; else 0 or the
// failing call's result code.
HRESULT SaveDocumentToStrings(IHTMLDocument2 *Doc, QStringList &Strings);
HRESULT SaveDocumentToStream(IHTMLDocument2 *Doc, QIODevice &Stream);
HRESULT SaveDocumentToFile(IHTMLDocument2 *Doc, const QString &FileName);
HRESULT LoadDocumentFromBytes(IHTMLDocument2 *Doc, const QByteArray &Bytes, QStringConverter::Encoding Encoding);

// Fetches `Source` into the file `Dest`, waiting for it; the file is
// replaced only once the whole of it has come. Whether it came. It goes
// through the program's proxy, and fails at once for a network address
// while the program is offline.
bool DownloadToFile(const QUrl &Source, const QString &Dest);

} // namespace HbTools
} // namespace vocab
