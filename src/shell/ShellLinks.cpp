#include "ShellLinks.h"

#include "MessageBoxes.h"
#include "ShellOpen.h"
#include "ShellTexts.h"

#include <QDir>
#include <QFileInfo>

namespace vocab {

QString HelpFilePath(const QString &programDir)
{
    return programDir + QStringLiteral("/ConfigFiles/help.chm");
}

void OpenHelpFile(const QString &programDir)
{
    const QString file = HelpFilePath(programDir);
    if (!QFileInfo(file).isFile()) {
        ShowMessage(texts::HelpFileMissing + QDir::toNativeSeparators(file));
        return;
    }
    if (!ShellOpen(QUrl::fromLocalFile(file)))
        ShowMessage(texts::HelpFileNotOpened + QDir::toNativeSeparators(file));
}

void OpenLink(const QUrl &target)
{
    if (!ShellOpen(target))
        ShowMessage(texts::LinkNotOpened + target.toDisplayString());
}

QUrl MailLink(const QString &address)
{
    return QUrl(QStringLiteral("mailto:") + address);
}

} // namespace vocab
