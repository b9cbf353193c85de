#include "DesktopDefaults.h"

#include "StandIn.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <utility>

namespace vocab {

namespace {

// xdg-mime answers at once; a desktop that hangs must not hang the caller.
constexpr int QueryTimeoutMs = 10000;

QString askXdgMime(const QString &mimeType)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (tool.isEmpty())
        return {};
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(tool, {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!process.waitForFinished(QueryTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    // One id a line; the first is the one in force.
    const QString answer = QString::fromUtf8(process.readAllStandardOutput());
    return answer.section(u'\n', 0, 0).trimmed();
}

// The desktop entry of an id: an id with dashes may also stand for an entry
// in a subfolder ("kde-mail.desktop" for "kde/mail.desktop").
QString entryPath(const QString &desktopId)
{
    QString candidate = desktopId;
    for (;;) {
        const QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, candidate);
        if (!path.isEmpty())
            return path;
        const qsizetype dash = candidate.indexOf(u'-');
        if (dash < 0)
            return {};
        candidate[dash] = u'/';
    }
}

// The value of the key Exec in the group [Desktop Entry], with the escapes
// of the file's values undone; a null string when there is none.
QString execOfEntry(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inEntry || !line.startsWith(QLatin1String("Exec")))
            continue;
        const QString rest = line.mid(4).trimmed();
        if (!rest.startsWith(u'='))
            continue;
        const QString raw = rest.mid(1).trimmed();
        QString value;
        for (qsizetype i = 0; i < raw.size(); ++i) {
            if (raw.at(i) != u'\\' || i + 1 == raw.size()) {
                value += raw.at(i);
                continue;
            }
            const QChar next = raw.at(++i);
            switch (next.unicode()) {
            case u's': value += u' '; break;
            case u'n': value += u'\n'; break;
            case u't': value += u'\t'; break;
            case u'r': value += u'\r'; break;
            case u'\\': value += u'\\'; break;
            default: value += u'\\'; value += next; break;
            }
        }
        return value;
    }
    return {};
}

} // namespace

DesktopDefaultQuery setDesktopDefaultQuery(DesktopDefaultQuery query)
{
    return StandIn<DesktopDefaultQuery>::Install(std::move(query));
}

QString DesktopDefaultFor(const QString &mimeType)
{
    if (const DesktopDefaultQuery query = StandIn<DesktopDefaultQuery>::Current())
        return query(mimeType);
    return askXdgMime(mimeType);
}

QStringList SplitDesktopExec(const QString &exec)
{
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    bool hadFieldCode = false;
    const auto endWord = [&] {
        // A word that was a field code alone goes; one in a longer word is cut out.
        if (inWord && !(hadFieldCode && word.isEmpty()))
            words.append(word);
        word.clear();
        inWord = false;
        hadFieldCode = false;
    };
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (quoted) {
            if (c == u'"') {
                quoted = false;
            } else if (c == u'\\' && i + 1 < exec.size()) {
                word += exec.at(++i);
            } else if (c == u'%' && i + 1 < exec.size()) {
                // Inside quotes only %% stands for anything.
                if (exec.at(i + 1) == u'%')
                    word += u'%';
                ++i;
            } else {
                word += c;
            }
            continue;
        }
        if (c == u' ' || c == u'\t' || c == u'\n') {
            endWord();
            continue;
        }
        inWord = true;
        if (c == u'"') {
            quoted = true;
        } else if (c == u'%' && i + 1 < exec.size()) {
            const QChar code = exec.at(++i);
            if (code == u'%')
                word += u'%';
            else
                hadFieldCode = true;
        } else {
            word += c;
        }
    }
    endWord();
    return words;
}

QStringList DesktopEntryCommand(const QString &desktopId)
{
    if (desktopId.isEmpty() || desktopId.contains(u'/'))
        return {};
    const QString path = entryPath(desktopId);
    if (path.isEmpty())
        return {};
    const QString exec = execOfEntry(path);
    if (exec.isEmpty())
        return {};
    return SplitDesktopExec(exec);
}

} // namespace vocab
