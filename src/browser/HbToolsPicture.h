#pragma once

// Pictures of the browser's view: into an image, into a bitmap file, and
// into a JPEG file scaled to a size of the caller's (libjpeg, quality 90).
// The view is drawn as it shows on the screen, so what lies outside it
// stays blank.

#include <QByteArray>
#include <QString>

class QImage;
class QWidget;

namespace vocab {

class IHTMLDocument2;
class IWebBrowser2;

namespace HbTools {

inline constexpr int JpegQuality = 90;

// The view of the browser object drawn over the whole of `Image`, at its
// size; nothing for a null image. Throws EOleException for an object that
// has no view.
void GetThumbnail(IWebBrowser2 *Application, QImage *Image);

// The window drawn at Width × Height into a BMP file. False for a document
// that is none, a window that draws nothing and a file that cannot be written.
bool GetBmpFromBrowser(IHTMLDocument2 *Doc, QWidget *Window, int Width, const QString &FileName, int Height);

// The control's view drawn at SourceWidth × SourceHeight, stretched to
// TargetWidth × TargetHeight (the proportions are not kept) and saved as a
// JPEG file. False on any failure.
bool GetJpegFromBrowser(IWebBrowser2 *Browser, const QString &FileName, int SourceHeight, int SourceWidth,
                        int TargetHeight, int TargetWidth);

// A picture as JPEG bytes: colour, not progressive. Throws AppError when
// libjpeg refuses it.
QByteArray EncodeJpeg(const QImage &Image, int Quality);

} // namespace HbTools
} // namespace vocab
