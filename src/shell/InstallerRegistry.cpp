#include "InstallerRegistry.h"

#include "Registry.h"

#include <array>
#include <utility>

namespace vocab {

void RegisterInstallFolder(const QString &programDir)
{
    const QString key = QStringLiteral("Software\\WinRAR SFX");
    const std::array<std::pair<QString, QString>, 2> values{{
        {QStringLiteral("C%%Vocabulinarum 2"), programDir},
        {QStringLiteral("C%%Vocabulinarum 2%dic"), programDir + QStringLiteral("/dic")},
    }};
    const auto held = [](const TRegistry &reg, const std::pair<QString, QString> &value) {
        return reg.GetDataType(value.first) == RegDataType::rdString && reg.ReadString(value.first) == value.second;
    };
    // The values stay the same from one start to the next: only a program
    // that moved, or a first start, needs the store written.
    TRegistry reg(RegRoot::HKEY_CURRENT_USER);
    if (reg.OpenKeyReadOnly(key) && held(reg, values[0]) && held(reg, values[1]))
        return;
    reg.CloseKey();
    if (!reg.OpenKey(key, true))
        return;
    for (const auto &value : values)
        if (!held(reg, value))
            reg.WriteString(value.first, value.second);
}

} // namespace vocab
