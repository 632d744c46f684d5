#include "support/ProgramRun.h"

#include "support/EventLoop.h"

namespace vidora::test {

ProgramRun::ProgramRun(const QString& program, const QStringList& arguments,
                       const QStringList& environment, const QString& workingFolder) {
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    variables.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const QString& variable : environment) {
        const qsizetype equals = variable.indexOf(u'=');
        variables.insert(variable.left(equals), variable.mid(equals + 1));
    }
    m_process.setProcessEnvironment(variables);
    m_process.setStandardInputFile(QProcess::nullDevice());
    m_process.setStandardOutputFile(QProcess::nullDevice());
    if (!workingFolder.isEmpty())
        m_process.setWorkingDirectory(workingFolder);
    m_process.start(program, arguments);
    m_process.waitForStarted(10000);
}

ProgramRun::~ProgramRun() {
    if (isRunning()) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

int ProgramRun::exitCode(int timeoutMs) {
    if (!waitFor([this] { return !isRunning(); }, timeoutMs))
        return -1;
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

void ProgramRun::terminate() {
    m_process.terminate();
}

QString ProgramRun::errors() {
    return QString::fromLocal8Bit(m_process.readAllStandardError());
}

} // namespace vidora::test
