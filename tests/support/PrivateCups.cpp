#include "PrivateCups.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTcpServer>
#include <QThread>

#include <map>

namespace {

bool WriteFile(const QString& name, const QString& content) {
    QFile file(name);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(content.toUtf8()) == content.toUtf8().size();
}

}  // namespace

PrivateCups::PrivateCups() = default;

PrivateCups::~PrivateCups() {
    if (m_scheduler.state() != QProcess::NotRunning) {
        m_scheduler.terminate();
        if (!m_scheduler.waitForFinished(5000)) {
            m_scheduler.kill();
            m_scheduler.waitForFinished(5000);
        }
    }
}

QString PrivateCups::Server() const {
    return QString("127.0.0.1:%1").arg(m_port);
}

QString PrivateCups::Run(const QString& program, const QStringList& arguments,
                         int* exitCode) const {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("CUPS_SERVER", Server());
    process.setProcessEnvironment(environment);
    // The administration commands live in sbin, which a user's PATH may lack.
    const QString path = QStandardPaths::findExecutable(program).isEmpty()
                             ? QStandardPaths::findExecutable(program, {"/usr/sbin", "/sbin"})
                             : QStandardPaths::findExecutable(program);
    process.start(path.isEmpty() ? program : path, arguments);
    process.waitForFinished(30000);
    if (exitCode != nullptr) {
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

bool PrivateCups::Start(QString& whyNot) {
    QString cupsd = QStandardPaths::findExecutable("cupsd", {"/usr/sbin", "/sbin"});
    if (cupsd.isEmpty() ||
        QStandardPaths::findExecutable("lpadmin", {"/usr/sbin", "/sbin"}).isEmpty() ||
        QStandardPaths::findExecutable("ipptool").isEmpty()) {
        whyNot = "cupsd, lpadmin or ipptool is not installed";
        return false;
    }
    {
        QTcpServer probe;  // a free port, given back just before cupsd takes it
        if (!probe.listen(QHostAddress::LocalHost, 0)) {
            whyNot = "no free loopback port";
            return false;
        }
        m_port = probe.serverPort();
    }
    const QString root = m_folder.path();
    for (const char* sub : {"spool", "cache", "state", "tmp", "ppd"}) {
        QDir(root).mkpath(sub);
    }
    const bool written =
        WriteFile(root + "/cupsd.conf",
                  QString("Listen 127.0.0.1:%1\nLogLevel warn\nWebInterface No\n"
                          "DefaultAuthType None\nPreserveJobHistory Yes\n"
                          "<Location />\n  Order allow,deny\n  Allow all\n"
                          "</Location>\n<Policy default>\n  JobPrivateAccess all\n"
                          "  JobPrivateValues none\n  <Limit All>\n    Order deny,allow\n"
                          "    Allow all\n  </Limit>\n</Policy>\n")
                      .arg(m_port)) &&
        WriteFile(root + "/cups-files.conf",
                  QString("ServerRoot %1\nRequestRoot %1/spool\nCacheDir %1/cache\n"
                          "StateDir %1/state\nTempDir %1/tmp\nAccessLog %1/access_log\n"
                          "ErrorLog %1/error_log\nPageLog %1/page_log\nPrintcap /dev/null\n"
                          "FileDevice Yes\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\n")
                      .arg(root));
    if (!written) {
        whyNot = "cannot write the scheduler's configuration";
        return false;
    }
    m_scheduler.setProcessChannelMode(QProcess::MergedChannels);
    m_scheduler.start(cupsd, {"-f", "-c", root + "/cupsd.conf", "-s", root + "/cups-files.conf"});
    if (!m_scheduler.waitForStarted(10000)) {
        whyNot = "cupsd does not start";
        return false;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        int exitCode = -1;
        const QString status = Run("lpstat", {"-r"}, &exitCode);
        if (exitCode == 0 && status.contains("is running")) {
            return true;
        }
        if (m_scheduler.state() == QProcess::NotRunning) {
            break;
        }
        QThread::msleep(100);
    }
    whyNot = "cupsd did not answer: " + QString::fromUtf8(m_scheduler.readAll());
    return false;
}

bool PrivateCups::AddQueue(const QString& name, bool makeDefault) {
    int exitCode = -1;
    Run("lpadmin", {"-p", name, "-E", "-v", "file:///dev/null", "-m", "raw"}, &exitCode);
    if (exitCode != 0) {
        return false;
    }
    // Stopped, the queue keeps every job pending with all its attributes;
    // the scheduler forgets the titles of completed jobs.
    Run("cupsdisable", {name}, &exitCode);
    if (exitCode == 0 && makeDefault) {
        Run("lpadmin", {"-d", name}, &exitCode);
    }
    return exitCode == 0;
}

bool PrivateCups::RemoveQueue(const QString& name) {
    int exitCode = -1;
    Run("lpadmin", {"-x", name}, &exitCode);
    return exitCode == 0;
}

QStringList PrivateCups::JobTitles(const QString& queue) const {
    const QString request = m_folder.path() + "/get-jobs.test";
    WriteFile(request,
              "{\n OPERATION Get-Jobs\n GROUP operation-attributes-tag\n"
              " ATTR charset attributes-charset utf-8\n"
              " ATTR naturalLanguage attributes-natural-language en\n"
              " ATTR uri printer-uri $uri\n"
              " ATTR name requesting-user-name root\n"
              " ATTR keyword which-jobs all\n"
              " ATTR keyword requested-attributes job-id,job-name\n"
              " DISPLAY job-id\n DISPLAY job-name\n}\n");
    const QString uri = queue.isEmpty() ? QString("ipp://%1/").arg(Server())
                                        : QString("ipp://%1/printers/%2").arg(Server(), queue);
    const QString output = Run("ipptool", {"-c", uri, request});
    // "job-id,job-name" lines after a header line; sorted by job id, oldest
    // first.
    std::map<int, QString> titles;
    for (const QString& line : output.split('\n', Qt::SkipEmptyParts)) {
        const qsizetype comma = line.indexOf(',');
        bool ok = false;
        const int id = line.left(comma).toInt(&ok);
        if (comma > 0 && ok) {
            titles[id] = line.mid(comma + 1);
        }
    }
    QStringList ordered;
    for (const auto& [id, title] : titles) {
        ordered << title;
    }
    return ordered;
}
