#include "PageHead.h"

#include "IniFile.h"

namespace vocab {

namespace {

QString readFontKey(TIniFile &ini, const QString &key, const QString &defaultValue)
{
    const QString section = QStringLiteral("Font");
    const QString value = ini.ReadString(section, key, defaultValue);
    if (value == defaultValue)
        ini.WriteString(section, key, defaultValue);
    return value;
}

} // namespace

QString BuildPageHead(TIniFile &ini)
{
    const QString family = readFontKey(ini, QStringLiteral("FontFamily"), DefaultFontFamily);
    const QString size = readFontKey(ini, QStringLiteral("FontSize"), DefaultFontSize);
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
