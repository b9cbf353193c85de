#pragma once

#include "TestSupport.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>

#include <csignal>
#include <functional>

namespace vocab::test {

// Runs the built program in a working folder of the test's own, with its
// single-instance guard, registry and message boxes kept inside `shared`.
class ProgramRunner {
public:
    ProgramRunner(QString workDir, QString shared) : m_workDir(std::move(workDir)), m_shared(std::move(shared))
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // Under an X server (the tests that type as a user does) the program
        // runs on it; otherwise offscreen.
        env.insert("QT_QPA_PLATFORM", qEnvironmentVariable("QT_QPA_PLATFORM") == u"xcb" ? "xcb" : "offscreen");
        env.insert("QTWEBENGINE_DISABLE_SANDBOX", "1");
        env.insert("XDG_RUNTIME_DIR", m_shared);
        env.insert("VOCABULINARUM_REGISTRY", m_shared + "/registry.json");
        env.insert("VOCABULINARUM_MESSAGE_LOG", messageLog());
        m_process.setProcessEnvironment(env);
        m_process.setWorkingDirectory(m_workDir);
        // The engine is chatty on its error channel; set VOCABULINARUM_TEST_VERBOSE to see it.
        if (qEnvironmentVariableIsEmpty("VOCABULINARUM_TEST_VERBOSE"))
            m_process.setStandardErrorFile(QProcess::nullDevice());
        else
            m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.setStandardOutputFile(QProcess::nullDevice());
    }
    ~ProgramRunner()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    QString messageLog() const { return m_shared + "/messages.jsonl"; }

    // Changes what the program is started with, before start().
    void setEnvironment(const QString &name, const QString &value)
    {
        QProcessEnvironment env = m_process.processEnvironment();
        env.insert(name, value);
        m_process.setProcessEnvironment(env);
    }

    void start()
    {
        QFile::remove(readyMarker());
        m_process.start(VOCABULINARUM_EXE, {});
        ASSERT_TRUE(m_process.waitForStarted(10000));
    }

    // The start-up load is done once the tree's display copy is written.
    bool waitReady(int ms = 60000)
    {
        return waitUntil([this] { return QFileInfo::exists(readyMarker()); }, ms);
    }

    // Waits, while the program runs, until `done` holds.
    bool waitUntil(const std::function<bool()> &done, int ms = 30000)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            if (done())
                return true;
            if (m_process.state() == QProcess::NotRunning)
                return done();
            m_process.waitForFinished(20);
        }
        return done();
    }

    bool running() const { return m_process.state() != QProcess::NotRunning; }

    bool waitExit(int ms = 60000) { return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(ms); }
    int exitCode() const { return m_process.exitCode(); }

    // Ends the program as a desktop session does.
    bool terminate()
    {
        ::kill(pid_t(m_process.processId()), SIGTERM);
        return waitExit() && m_process.exitStatus() == QProcess::NormalExit;
    }

    void killHard()
    {
        ::kill(pid_t(m_process.processId()), SIGKILL);
        m_process.waitForFinished(10000);
    }

    std::vector<QJsonObject> messages() const
    {
        std::vector<QJsonObject> out;
        for (const QByteArray &line : readBytes(messageLog()).split('\n'))
            if (!line.trimmed().isEmpty())
                out.push_back(QJsonDocument::fromJson(line).object());
        return out;
    }

private:
    QString readyMarker() const { return m_workDir + "/ConfigFiles/TreeTemp.trv"; }

    QString m_workDir;
    QString m_shared;
    QProcess m_process;
};

} // namespace vocab::test
