// Loading, saving and navigation of THostedBrowser: pages put in as text,
// lines, files, streams or a picture; the page or a frame's saved; the wait
// for a page on its way; navigation to addresses, folders and frames; the
// download of a file.

#include "HostedBrowser.h"

#include "HbToolsFrames.h"
#include "HbToolsNavigation.h"
#include "FileErrorCause.h"
#include "ListFile.h"
#include "OleError.h"
#include "Registry.h"
#include "SpecialFolders.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPointer>
#include <QThread>
#include <QUrl>

namespace vocab {

namespace {

// Whether the program is on its way out: the application quits for real,
// or its object is going. A quit that a window refuses to close for is no
// end: the quit event is delivered here, so that its answer tells; the
// application announces the end it then makes only once its event loop has
// returned, which a wait running inside that loop would never see.
class Termination : public QObject {
public:
    static bool requested()
    {
        static Termination watcher;
        return watcher.m_requested || QCoreApplication::closingDown();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != QCoreApplication::instance() || event->type() != QEvent::Quit || m_delivering)
            return false;
        m_delivering = true;
        const bool handled = watched->event(event);
        m_delivering = false;
        if (handled && event->isAccepted())
            m_requested = true;
        return true;
    }

private:
    Termination()
    {
        if (QCoreApplication *app = QCoreApplication::instance()) {
            app->installEventFilter(this);
            connect(app, &QCoreApplication::aboutToQuit, this, [this] { m_requested = true; });
        }
    }
    bool m_requested = false;
    bool m_delivering = false;
};

} // namespace

void THostedBrowser::HTMLCodeChanged()
{
    const QStringList &lines = FHTMLCode.Lines();
    if (lines.size() == 1 && HbTools::IsAddressLine(lines.first()))
        Go(lines.first(), 0);
    else
        LoadFromStrings(lines);
}

bool THostedBrowser::DocumentOrEmptyPage()
{
    if (Document())
        return true;
    AssignEmptyDocument(false);
    const QPointer<THostedBrowser> self(this);
    WaitForDocument();
    return self && !FDestroying;
}

HRESULT THostedBrowser::LoadIntoDocument(const QByteArray &Bytes)
{
    // The load needs the document that the empty page brings.
    if (!DocumentOrEmptyPage())
        return S_FALSE;
    return HbTools::LoadDocumentFromBytes(Document(), Bytes, FEncoding);
}

HRESULT THostedBrowser::LoadFromString(const QString &St)
{
    const HRESULT hr = LoadIntoDocument(HbTools::TextToBytes(St, FEncoding));
    if (hr != S_OK)
        throw EOleException(hr == S_FALSE ? E_UNEXPECTED : hr, QStringLiteral("Страница не загружена: у браузера нет документа"));
    return S_OK;
}

HRESULT THostedBrowser::LoadFromWideString(const QString &WideSt)
{
    return LoadFromStrings(ListFile::splitLines(WideSt));
}

HRESULT THostedBrowser::LoadFromFile(const QString &FileName)
{
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Не удаётся открыть файл \"%1\": %2").arg(FileName, FileErrorCause(file)));
    return LoadFromStream(file);
}

void THostedBrowser::LoadFromImage(const QImage &Image)
{
    // The picture is shown as a picture: its bytes read as HTML would be
    // noise.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    Image.save(&buffer, "PNG");
    LoadFromString(QStringLiteral("<html><body><img src=\"data:image/png;base64,%1\"></body></html>")
                       .arg(QString::fromLatin1(png.toBase64())));
}

HRESULT THostedBrowser::LoadFromStrings(const QStringList &AStrings)
{
    try {
        return LoadIntoDocument(HbTools::TextToBytes(HbTools::LinesText(AStrings), FEncoding));
    } catch (const std::exception &) {
        return S_FALSE;
    }
}

HRESULT THostedBrowser::LoadFromStrings(const QStringList &AStrings, bool AddHtmlTags)
{
    const QStringList lines = AddHtmlTags ? HbTools::WithHtmlTags(AStrings) : AStrings;
    return LoadIntoDocument(HbTools::TextToBytes(HbTools::LinesText(lines), FEncoding));
}

HRESULT THostedBrowser::LoadFromStream(QIODevice &AStream)
{
    if (!AStream.isSequential())
        AStream.seek(0);
    return LoadIntoDocument(AStream.readAll());
}

DocumentRef THostedBrowser::FrameDocument(int FrameNo)
{
    std::shared_ptr<IWebBrowser2> frame = GetFrame(static_cast<std::uint16_t>(FrameNo));
    IHTMLDocument2 *doc = frame ? frame->Document() : nullptr;
    // The document keeps the frame browser that reached it.
    return doc ? DocumentRef(frame, doc) : nullptr;
}

HRESULT THostedBrowser::LoadFrameFromStrings(std::uint16_t FrameNo, const QStringList &AStrings)
{
    try {
        const DocumentRef doc = FrameDocument(FrameNo);
        if (!doc)
            return S_FALSE;
        return HbTools::LoadDocumentFromBytes(doc.get(), HbTools::TextToBytes(HbTools::LinesText(AStrings), FEncoding), FEncoding);
    } catch (const std::exception &) {
        return S_FALSE;
    }
}

HRESULT THostedBrowser::LoadFrameFromStream(int FrameNo, QIODevice &AStream)
{
    const DocumentRef doc = FrameDocument(FrameNo);
    if (!doc)
        return S_FALSE;
    if (!AStream.isSequential())
        AStream.seek(0);
    return HbTools::LoadDocumentFromBytes(doc.get(), AStream.readAll(), FEncoding);
}

HRESULT THostedBrowser::SaveToFile(const QString &FileName)
{
    Wait(0);
    return Document() ? HbTools::SaveDocumentToFile(Document(), FileName) : S_FALSE;
}

HRESULT THostedBrowser::SaveToStream(QIODevice &AStream)
{
    Wait(0);
    return Document() ? HbTools::SaveDocumentToStream(Document(), AStream) : S_FALSE;
}

HRESULT THostedBrowser::SaveToStrings(QStringList &AStrings)
{
    Wait(0);
    return Document() ? HbTools::SaveDocumentToStrings(Document(), AStrings) : S_FALSE;
}

HRESULT THostedBrowser::SaveFrameToFile(std::uint16_t FrameNo, const QString &FileName)
{
    const DocumentRef doc = FrameDocument(FrameNo);
    return doc ? HbTools::SaveDocumentToFile(doc.get(), FileName) : S_FALSE;
}

HRESULT THostedBrowser::SaveFrameToStream(int FrameNo, QIODevice &AStream)
{
    const DocumentRef doc = FrameDocument(FrameNo);
    return doc ? HbTools::SaveDocumentToStream(doc.get(), AStream) : S_FALSE;
}

HRESULT THostedBrowser::SaveFrameToStrings(int FrameNo, QStringList &AStrings)
{
    const DocumentRef doc = FrameDocument(FrameNo);
    return doc ? HbTools::SaveDocumentToStrings(doc.get(), AStrings) : S_FALSE;
}

// A control that has never been sent anywhere has nothing on its way; a
// page being written is on its way until it has landed.
bool THostedBrowser::LoadUnderWay() const
{
    const int state = ReadyState();
    return (state != READYSTATE_COMPLETE && state != READYSTATE_UNINITIALIZED) || Busy();
}

bool THostedBrowser::WaitWhile(std::uint32_t TimeOut, bool (THostedBrowser::*Pending)() const)
{
    bool Cancel = false;
    const std::uint32_t start = HbTools::GetTickCount();
    // Whatever runs meanwhile may destroy the component.
    const QPointer<THostedBrowser> self(this);
    while (self && !FDestroying && (this->*Pending)()) {
        if (OnBusyWait)
            OnBusyWait(this, start, TimeOut, Cancel);
        if (Cancel || (TimeOut != 0 && HbTools::GetTickCount() - start > TimeOut))
            return false;
        if (Termination::requested())
            break;
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    return true;
}

bool THostedBrowser::Wait(std::uint32_t TimeOut)
{
    if (!Control())
        return true;
    return WaitWhile(TimeOut, &THostedBrowser::LoadUnderWay);
}

bool THostedBrowser::WaitWhileBusy(std::uint32_t TimeOut)
{
    return WaitWhile(TimeOut, &THostedBrowser::ControlBusy);
}

bool THostedBrowser::Go(const QString &Url, std::uint32_t TimeOut)
{
    const QFileInfo folder(Url);
    if (!Url.isEmpty() && folder.isDir()) {
        // The address of the folder as a file URL; a relative folder counts
        // from the current one, as everywhere in the program.
        Navigate2(QUrl::fromLocalFile(folder.absoluteFilePath()));
        return true;
    }
    if (Url.trimmed().isEmpty())
        return true;
    Navigate2(Url);
    return TimeOut != 0 ? Wait(TimeOut) : true;
}

bool THostedBrowser::NavigateWait(const QString &URL, std::uint32_t TimeOut)
{
    Navigate(URL);
    return TimeOut != 0 ? Wait(TimeOut) : true;
}

// A special folder is gone to as the file address of the folder it stands
// for here; one that is missing is not made, and is not gone to.
void THostedBrowser::NavigateFolder(int CSIDL)
{
    const QString folder = SpecialFolderPath(CSIDL, false);
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        Navigate2(QUrl::fromLocalFile(folder));
}

// There is no shell namespace here to name an item-id list, so none can be
// navigated to.
void THostedBrowser::NavigatePidl(const QByteArray &) {}

DocumentRef THostedBrowser::NavigateToFrame(const QString &FrameList)
{
    IHTMLDocument2 *top = GetDocument();
    if (!top)
        return nullptr;
    DocumentRef current = HbTools::LentDocument(top);
    std::unique_ptr<IWebBrowser2> frame;
    for (const int number : HbTools::ParseFrameList(FrameList)) {
        frame = HbTools::FrameOf(current.get(), number);
        IHTMLDocument2 *doc = frame ? frame->Document() : nullptr;
        if (!doc || !DocumentLoaded())
            return nullptr;
        // The frame's document outlives the frame browser that reached it.
        std::shared_ptr<IWebBrowser2> holder(std::move(frame));
        current = DocumentRef(holder, doc);
    }
    return current;
}

bool THostedBrowser::DownloadFile(const QString &SourceFile, const QString &DestFile)
{
    return HbTools::DownloadToFile(SourceFile, DestFile);
}

QString THostedBrowser::GetIEHomePage() const
{
    TRegistry registry(RegRoot::HKEY_CURRENT_USER);
    if (!registry.OpenKey(QStringLiteral("\\Software\\Microsoft\\Internet Explorer\\Main"), false))
        return {};
    return registry.ReadString(QStringLiteral("Start Page"));
}

void THostedBrowser::AssignEmptyDocument(bool bWait)
{
    Navigate(QStringLiteral("about:blank"));
    if (bWait)
        Wait(0);
}

bool THostedBrowser::DocumentLoaded(IHTMLDocument2 *&Doc2) const
{
    Doc2 = nullptr;
    if (IWebBrowser2 *control = DefaultInterface())
        Doc2 = control->Document();
    return Doc2 != nullptr;
}

bool THostedBrowser::DocumentLoaded() const
{
    IHTMLDocument2 *doc = nullptr;
    return DocumentLoaded(doc);
}

IHTMLDocument2 *THostedBrowser::GetDocument()
{
    Wait(0);
    IHTMLDocument2 *doc = nullptr;
    return DocumentLoaded(doc) ? doc : nullptr;
}

} // namespace vocab
