#pragma once

// The frames of a page as the browser tools reach them: a frame is known by
// its index among the frames of its document's window (frames[i], in
// document order), and is handed out as a browser of its own whose document
// is that of the frame. Frames and their documents are made for the caller;
// the page's own document stays the control's.

#include "HtmlDocument.h"
#include "WebBrowser.h"

#include <memory>

namespace vocab {

// A document the caller may keep: a frame's, made for it, or the page's,
// lent by the control (and gone with it).
using DocumentRef = std::shared_ptr<IHTMLDocument2>;

namespace HbTools {

DocumentRef LentDocument(IHTMLDocument2 *Doc);

// The number of frames of a document's window; 0 for a document this
// program cannot look into.
int FramesOf(IHTMLDocument2 *Doc);

// The frame `FrameNo` of a document, counted from 0; null past the last.
std::unique_ptr<IWebBrowser2> FrameOf(IHTMLDocument2 *Doc, int FrameNo);

// The innermost frame document on the way of the focus, through frames
// whose document can be read; the document itself when the focus is in no
// such frame. Null only for a null document. A failing call throws.
DocumentRef ActiveFrameOf(IHTMLDocument2 *Doc);

} // namespace HbTools
} // namespace vocab
