#include "HbToolsLoading.h"

#include "CertificateTrust.h"
#include "DocumentFile.h"
#include "HbToolsUrl.h"
#include "HtmlDocument.h"
#include "ListFile.h"
#include "NetworkState.h"
#include "OleError.h"

#include <QCollator>
#include <QEventLoop>
#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QUrl>

#include <chrono>

namespace vocab {

QString TNotifyStringList::Text() const
{
    return HbTools::LinesText(m_lines);
}

void TNotifyStringList::changed() const
{
    if (OnChange)
        OnChange();
}

void TNotifyStringList::Add(const QString &line)
{
    m_lines.append(line);
    changed();
}

void TNotifyStringList::Clear()
{
    m_lines.clear();
    changed();
}

void TNotifyStringList::SetText(const QString &text)
{
    m_lines = ListFile::splitLines(text);
    changed();
}

void TNotifyStringList::Assign(const QStringList &lines)
{
    m_lines = lines;
    changed();
}

namespace HbTools {

namespace {

const QString LineBreak = QStringLiteral("\n");

bool isUnicode(QStringConverter::Encoding encoding)
{
    return encoding != QStringConverter::Latin1 && encoding != QStringConverter::System;
}

const IDocumentAutomation *automationOf(IHTMLDocument2 *Doc)
{
    return dynamic_cast<const IDocumentAutomation *>(Doc);
}

} // namespace

std::uint32_t GetTickCount()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

bool SameAnsiStr(const QString &S1, const QString &S2)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseSensitive);
    return collator.compare(S1, S2) == 0;
}

bool StrBeginsWith(const QString &Prefix, const QString &S)
{
    return SameAnsiStr(Prefix, S.left(Prefix.size()));
}

bool IsAddressLine(const QString &Line)
{
    const QString start = Line.left(4).toLower();
    for (const char *prefix : {"http", "www.", "ftp:", "file"})
        if (StrBeginsWith(QLatin1String(prefix), start))
            return true;
    return StrBeginsWith(QStringLiteral("about:"), Line.left(6).toLower());
}

QStringList WithHtmlTags(const QStringList &Lines)
{
    if (LinesText(Lines).toUpper().startsWith(QLatin1String("<HTML>")))
        return Lines;
    QStringList wrapped{QStringLiteral("<html>"), QStringLiteral("<body>"), QStringLiteral("<body bgcolor=\"#ffffff\">")};
    wrapped += Lines;
    wrapped << QStringLiteral("</body>") << QStringLiteral("</html>");
    return wrapped;
}

QString LinesText(const QStringList &Lines)
{
    QString text;
    for (const QString &line : Lines)
        text += line + LineBreak;
    return text;
}

QByteArray TextToBytes(const QString &Text, QStringConverter::Encoding Encoding)
{
    QStringEncoder encoder(Encoding, isUnicode(Encoding) ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return encoder.encode(Text);
}

QString HtmlFromBytes(const QByteArray &Bytes, QStringConverter::Encoding Fallback)
{
    // Qt's own guess answers UTF-8 for bytes that name nothing, which would
    // never let the text's own encoding be used: a mark or a meta charset
    // is looked for here, and only they overrule the caller's encoding.
    if (const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(Bytes))
        return QStringDecoder(*marked).decode(Bytes);
    if (const QByteArray named = MetaCharset(Bytes); !named.isEmpty()) {
        QStringDecoder byName(named.constData());
        if (byName.isValid())
            return byName.decode(Bytes);
    }
    return QStringDecoder(Fallback).decode(Bytes);
}

QByteArray MetaCharset(const QByteArray &Bytes)
{
    // Where a browser looks for it: a meta element in the first 1024 bytes,
    // as <meta charset=...> or in the content of an http-equiv one.
    static const QRegularExpression meta(QStringLiteral("<meta\\s[^>]*?charset\\s*=\\s*[\"']?\\s*([A-Za-z0-9._:\\-]+)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch found = meta.match(QString::fromLatin1(Bytes.left(1024)));
    if (!found.hasMatch())
        return {};
    QByteArray name = found.captured(1).toLatin1().toLower();
    // "unicode" in a page means the UTF-8 it was saved in.
    if (name == "unicode")
        name = "utf-8";
    return name;
}

QList<int> ParseFrameList(const QString &FrameList)
{
    QList<int> numbers;
    for (const QString &entry : QString(FrameList).remove(u'"').split(QRegularExpression(QStringLiteral("[,\\s]+")), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int number = entry.toInt(&ok);
        if (!ok)
            throw EConvertError(QStringLiteral("«%1» — не номер фрейма").arg(entry));
        numbers.append(number);
    }
    return numbers;
}

HRESULT SaveDocumentToStrings(IHTMLDocument2 *Doc, QStringList &Strings)
{
    const IDocumentAutomation *automation = automationOf(Doc);
    if (!automation)
        return S_FALSE;
    try {
        Strings = ListFile::splitLines(DocumentHtml(*automation));
    } catch (const EOleException &) {
        return S_FALSE;
    }
    return S_OK;
}

HRESULT SaveDocumentToStream(IHTMLDocument2 *Doc, QIODevice &Stream)
{
    const IDocumentAutomation *automation = automationOf(Doc);
    if (!automation)
        return S_FALSE;
    try {
        const QByteArray bytes = DocumentBytes(*automation);
        return Stream.write(bytes) == bytes.size() ? S_OK : E_FAIL;
    } catch (const EOleException &error) {
        return error.ErrorCode();
    }
}

HRESULT SaveDocumentToFile(IHTMLDocument2 *Doc, const QString &FileName)
{
    const IDocumentAutomation *automation = automationOf(Doc);
    if (!automation)
        return S_FALSE;
    try {
        ListFile::writeBytes(FileName, DocumentBytes(*automation));
    } catch (const EOleException &error) {
        return error.ErrorCode();
    } catch (const FileError &) {
        return E_FAIL;
    }
    return S_OK;
}

HRESULT LoadDocumentFromBytes(IHTMLDocument2 *Doc, const QByteArray &Bytes, QStringConverter::Encoding Encoding)
{
    if (!Doc)
        return S_FALSE;
    Doc->write(HtmlFromBytes(Bytes, Encoding));
    Doc->close();
    return S_OK;
}

bool DownloadToFile(const QUrl &Source, const QString &Dest)
{
    if (!Source.isValid())
        return false;
    // Offline by the user's choice, nothing is fetched from the network.
    if (globalOffline() && isNetworkScheme(Source.scheme()))
        return false;
    QNetworkAccessManager network;
    network.setProxy(downloadProxyFor(Source));
    QNetworkRequest request(Source);
    // Roots the user imported count beside the system's.
    request.setSslConfiguration(SslConfigurationWithImports());
    // A source that stops sending ends the wait, as one that fails does.
    request.setTransferTimeout(30000);
    QSaveFile file(Dest);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QNetworkReply *reply = network.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] { file.write(reply->readAll()); });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    file.write(reply->readAll());
    const bool ok = reply->error() == QNetworkReply::NoError;
    if (!ok) {
        file.cancelWriting();
        return false;
    }
    // The commit would not tell a failed flush of what is still buffered.
    return file.flush() && file.commit();
}

} // namespace HbTools
} // namespace vocab
