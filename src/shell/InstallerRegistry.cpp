#include "InstallerRegistry.h"

#include "Registry.h"

namespace vocab {

void RegisterInstallFolder(const QString &programDir)
{
    TRegistry reg(RegRoot::HKEY_CURRENT_USER);
    if (!reg.OpenKey(QStringLiteral("Software\\WinRAR SFX"), true))
        return;
    reg.WriteString(QStringLiteral("C%%Vocabulinarum 2"), programDir);
    reg.WriteString(QStringLiteral("C%%Vocabulinarum 2%dic"), programDir + QStringLiteral("/dic"));
}

} // namespace vocab
