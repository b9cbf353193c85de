#pragma once

// Dictionary folders of every layout for installing and rebuilding, and
// progress hosts that record what their windows would show.

#include "AppError.h"
#include "CombinedFixtures.h"
#include "CombinedListRebuild.h"
#include "DictionaryInstallation.h"
#include "ShellTexts.h"

#include <QFile>

#include <functional>
#include <ostream>
#include <vector>

namespace vocab {
inline void PrintTo(const DictionaryEntry &d, std::ostream *os)
{
    *os << '(' << d.displayName.toStdString() << ", " << d.folder.toStdString() << ')';
}
} // namespace vocab

namespace vocab::test {

inline const QString Root = texts::RootNodeCaption;
inline const QString NewFolder = texts::NewDictionariesFolder;

// What a progress window is shown, and a stop asked for when `stopWhen` says.
template <typename Host>
class RecordingProgress : public Host {
public:
    std::vector<int> positions;
    int polls = 0;
    std::function<bool()> stopWhen;

    void ShowPosition(int position) override { positions.push_back(position); }
    bool ProcessMessages() override
    {
        ++polls;
        return stopWhen && stopWhen();
    }
};

class InstallRecorder : public RecordingProgress<InstallProgressHost> {
public:
    QStringList statistics;
    QStringList names;
    QStringList errors;

    void ShowStatistics(const QString &text) override { statistics.append(text); }
    void ShowDictionaryName(const QString &text) override { names.append(text); }
    void ShowError(const AppError &error) override { errors.append(error.message()); }
};

class RebuildRecorder : public RecordingProgress<RebuildProgressHost> {
public:
    QStringList names;
    QStringList statistics;
    int writingBegun = 0;

    void ShowDictionary(const QString &name, const QString &stats) override
    {
        names.append(name);
        statistics.append(stats);
    }
    void BeginWriting() override { ++writingBegun; }
    void ShowStatistics(const QString &stats) override { statistics.append(stats); }
};

// The headwords of three dictionaries, one of each layout.
struct ThreeDictionaries {
    QStringList whole{u"ДОМ"_qs, u"КОТ"_qs, u"ЙОД"_qs, u"ИВА"_qs, u"APPLE"_qs};
    // English per letter: 100, 101 and 126; 102 cannot be read.
    QStringList english100{u"1ST"_qs};
    QStringList english101{u"ACORN"_qs, u"APPLE"_qs};
    QStringList english126{u"ZOO"_qs};
    // Russian per letter: 0, 5 and 32.
    QStringList russian0{u"1812"_qs};
    QStringList russian5{u"ДУБ"_qs, u"дом"_qs};
    QStringList russian32{u"ЯК"_qs};

    // Folders eng, rus and whole under `dir`, with their descriptions.
    void write(const FixtureFolder &dir) const
    {
        dir.writeAbout("whole", u"Целый"_qs);
        dir.writePair("dic/whole/whole", whole);
        dir.writeAbout("eng", "English");
        dir.writePair("dic/eng/base/100", english100);
        dir.writePair("dic/eng/base/101", english101);
        QDir().mkpath(dir.path("dic/eng/base/102.ogl"));
        dir.writePair("dic/eng/base/126", english126);
        dir.writeAbout("rus", u"Русский"_qs);
        dir.writePair("dic/rus/base/0", russian0);
        dir.writePair("dic/rus/base/5", russian5);
        dir.writePair("dic/rus/base/32", russian32);
    }

    QStringList mergedWith(const QStringList &existing) const
    {
        return Merged({existing, english100, english101, english126, russian0, russian5, russian32, whole});
    }
};

// A file that exists and cannot be read, whoever reads it: the memory of the
// reading process, whose first page is never mapped. False where that does not
// hold.
inline bool makeUnreadable(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!QFile::link(QStringLiteral("/proc/self/mem"), path))
        return false;
    try {
        ListFile::read(path);
    } catch (const FileError &) {
        return true;
    }
    return false;
}

} // namespace vocab::test
