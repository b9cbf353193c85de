#include "PageHead.h"

#include "IniFile.h"

namespace vocab {

namespace {

const QString FontSection = QStringLiteral("Font");
const QString FamilyKey = QStringLiteral("FontFamily");
const QString SizeKey = QStringLiteral("FontSize");

} // namespace

PageFont ReadPageFont(const TIniFile &ini)
{
    return {ini.ReadString(FontSection, FamilyKey, DefaultFontFamily), ini.ReadString(FontSection, SizeKey, DefaultFontSize)};
}

void StoreDefaultPageFont(TIniFile &ini, const PageFont &font)
{
    // The file writes a key only when it does not hold the value already,
    // so a later start writes nothing here.
    if (font.family == DefaultFontFamily)
        ini.WriteString(FontSection, FamilyKey, DefaultFontFamily);
    if (font.size == DefaultFontSize)
        ini.WriteString(FontSection, SizeKey, DefaultFontSize);
}

QString BuildPageHead(TIniFile &ini)
{
    const PageFont font = ReadPageFont(ini);
    StoreDefaultPageFont(ini, font);
    return ComposePageHead(font);
}

QString ComposePageHead(const PageFont &font)
{
    const QString &family = font.family;
    const QString &size = font.size;
    return QStringLiteral(
               "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
               "<style type=\"text/css\"> A:link{COLOR: #666666; TEXT-DECORATION: underline}"
               "A:visited {COLOR: #666666; TEXT-DECORATION: underline}"
               "A:active {COLOR: #666666; TEXT-DECORATION: underline}"
               "A:hover {COLOR: #666666; TEXT-DECORATION: underline}DIV {FONT-FAMILY: ")
        + family + QStringLiteral(", sans-serif; FONT-SIZE: ") + size + QStringLiteral(";} ")
        + QStringLiteral(
               "BODY {margin=\"10\"; FONT-WEIGHT: normal; BACKGROUND: FFFFFF; COLOR: 000000;  "
               "FONT-FAMILY: Arial Unicode MS, Lucida Sans Unicode, Arial, Verdana, Helvetica, sans-serif; "
               "FONT-SIZE: 10pt;}.zag {FONT-WEIGHT: normal; COLOR: 999999; FONT-SIZE: 9pt; "
               "FONT-FAMILY: Helvetica, Verdana, Arial  sans-serif}.line {cursor : pointer; TEXT-DECORATION: underline} "
               "</style><script>function pod_cat(id){if(document.getElementById(id).style.display == \"none\")"
               "{document.getElementById(id).style.display = 'block';return;}"
               "document.getElementById(id).style.display = 'none';}</script></head><body>");
}

} // namespace vocab
