#include "HbToolsFrames.h"

#include "EngineFrames.h"

namespace vocab::HbTools {

namespace {

const EngineDocument *engineDocument(IHTMLDocument2 *Doc)
{
    return dynamic_cast<const EngineDocument *>(Doc);
}

} // namespace

DocumentRef LentDocument(IHTMLDocument2 *Doc)
{
    // No owner: the control keeps its document.
    return DocumentRef(std::shared_ptr<void>(), Doc);
}

int FramesOf(IHTMLDocument2 *Doc)
{
    const EngineDocument *doc = engineDocument(Doc);
    return doc ? doc->Invoke(QStringLiteral("return w.frames.length;")).toInt() : 0;
}

std::unique_ptr<IWebBrowser2> FrameOf(IHTMLDocument2 *Doc, int FrameNo)
{
    const EngineDocument *doc = engineDocument(Doc);
    if (!doc || FrameNo < 0 || FrameNo >= FramesOf(Doc))
        return nullptr;
    return std::make_unique<EngineFrameBrowser>(doc->frameDocument(FrameNo));
}

DocumentRef ActiveFrameOf(IHTMLDocument2 *Doc)
{
    const EngineDocument *doc = engineDocument(Doc);
    if (!doc)
        return LentDocument(Doc);
    // The indexes of the frames the focus is in, outermost first, as far as
    // their documents can be read.
    const QVariantList path = doc->Invoke(QStringLiteral(
                                              "var p=[];for(;;){var e=d.activeElement;"
                                              "if(!e||!/^(IFRAME|FRAME)$/.test(e.tagName)||!e.contentDocument)return p;"
                                              "var i=0;while(i<w.frames.length&&w.frames[i]!==e.contentWindow)++i;"
                                              "if(i===w.frames.length)return p;p.push(i);w=e.contentWindow;d=w.document;}"))
                                    .toList();
    if (path.isEmpty())
        return LentDocument(Doc);
    std::unique_ptr<EngineDocument> frame = doc->frameDocument(path.first().toInt());
    for (qsizetype i = 1; i < path.size(); ++i)
        frame = frame->frameDocument(path.at(i).toInt());
    return DocumentRef(std::move(frame));
}

} // namespace vocab::HbTools
