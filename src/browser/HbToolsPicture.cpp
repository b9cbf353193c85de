#include "HbToolsPicture.h"

#include "AppError.h"
#include "HbToolsDocument.h"
#include "HtmlDocument.h"
#include "JpegMemoryDestination.h"
#include "ListFile.h"
#include "OleError.h"
#include "WebBrowser.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <csetjmp>
#include <cstdio>
#include <optional>

#include <jpeglib.h>

namespace vocab::HbTools {

namespace {

// libjpeg ends the program on an error unless told otherwise: here it
// jumps back out of the compression, with its message.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf back;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void leaveCompression(j_common_ptr info)
{
    auto *errors = reinterpret_cast<JpegErrors *>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->back, 1);
}

// The compression, in a frame of its own that holds nothing to destroy
// when libjpeg jumps back; the bytes go into `output`, which the caller owns
// whatever happens.
bool compress(const QImage &rgb, int quality, std::optional<JpegMemoryDestination> &output, JpegErrors &errors)
{
    jpeg_compress_struct info{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = leaveCompression;
    if (setjmp(errors.back)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    output.emplace(&info);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPLE *>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

QWidget *viewOf(IWebBrowser2 *Browser)
{
    auto *control = dynamic_cast<WebBrowserControl *>(Browser);
    return control ? control->ViewWindow() : nullptr;
}

// The widget drawn at 1:1 into a picture of the size given, white beyond it.
QImage drawn(QWidget *window, int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    window->render(&picture, QPoint(), QRegion(0, 0, width, height));
    return picture;
}

} // namespace

QByteArray EncodeJpeg(const QImage &Image, int Quality)
{
    const QImage rgb = Image.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull())
        throw AppError(QStringLiteral("Нет изображения для JPEG"));
    std::optional<JpegMemoryDestination> output;
    JpegErrors errors{};
    if (!compress(rgb, Quality, output, errors))
        throw AppError(QStringLiteral("Не удаётся сжать изображение в JPEG: %1").arg(QString::fromLocal8Bit(errors.message)));
    return output->bytes();
}

void GetThumbnail(IWebBrowser2 *Application, QImage *Image)
{
    if (!Image)
        return;
    QWidget *view = viewOf(Application);
    if (!view)
        throw EOleException(E_NOINTERFACE, QStringLiteral("У браузера нет вида, который можно нарисовать"));
    if (Image->isNull())
        return;
    QPainter painter(Image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(Image->rect(), drawn(view, view->width(), view->height()));
}

bool GetBmpFromBrowser(IHTMLDocument2 *Doc, QWidget *Window, int Width, const QString &FileName, int Height)
{
    if (!IsHtmlDocument(Doc) || !Window || Width <= 0 || Height <= 0)
        return false;
    try {
        const QImage picture = drawn(Window, Width, Height);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!picture.save(&buffer, "BMP"))
            return false;
        ListFile::writeBytes(FileName, bytes);
    } catch (const std::exception &) {
        return false;
    }
    return true;
}

bool GetJpegFromBrowser(IWebBrowser2 *Browser, const QString &FileName, int SourceHeight, int SourceWidth,
                        int TargetHeight, int TargetWidth)
{
    QWidget *view = viewOf(Browser);
    if (!view || SourceWidth <= 0 || SourceHeight <= 0 || TargetWidth <= 0 || TargetHeight <= 0)
        return false;
    try {
        const QImage target = drawn(view, SourceWidth, SourceHeight)
                                  .scaled(TargetWidth, TargetHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        ListFile::writeBytes(FileName, EncodeJpeg(target, JpegQuality));
    } catch (const std::exception &) {
        return false;
    }
    return true;
}

} // namespace vocab::HbTools
