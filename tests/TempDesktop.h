#pragma once

// A desktop of the test's own: HOME, the XDG folders and the registry file
// all point into a temporary folder, and no desktop environment is named,
// for the span of the object.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <map>
#include <optional>
#include <string>

namespace vocab::test {

class TempDesktop {
public:
    TempDesktop()
    {
        set("HOME", path("home"));
        set("XDG_CONFIG_HOME", path("config"));
        set("XDG_DATA_HOME", path("data"));
        set("XDG_CACHE_HOME", path("cache"));
        set("XDG_DATA_DIRS", path("system/share"));
        set("XDG_CONFIG_DIRS", path("system/xdg"));
        set("VOCABULINARUM_REGISTRY", path("registry.json"));
        set("XDG_CURRENT_DESKTOP", std::nullopt);
        set("DESKTOP_SESSION", std::nullopt);
        for (const char *folder : {"home", "config", "data", "cache", "system/share", "system/xdg"})
            QDir().mkpath(path(folder));
    }
    ~TempDesktop()
    {
        for (const auto &[name, value] : m_saved) {
            if (value)
                qputenv(name.c_str(), *value);
            else
                qunsetenv(name.c_str());
        }
    }
    TempDesktop(const TempDesktop &) = delete;
    TempDesktop &operator=(const TempDesktop &) = delete;

    QString path(const QString &relative) const { return m_dir.filePath(relative); }

private:
    void set(const char *name, const std::optional<QString> &value)
    {
        if (!m_saved.count(name))
            m_saved[name] = qEnvironmentVariableIsSet(name) ? std::optional<QByteArray>(qgetenv(name)) : std::nullopt;
        if (value)
            qputenv(name, QFile::encodeName(*value));
        else
            qunsetenv(name);
    }

    QTemporaryDir m_dir;
    std::map<std::string, std::optional<QByteArray>> m_saved;
};

} // namespace vocab::test
