#include "XDesktop.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

namespace {

void Stop(QProcess& process) {
    if (process.state() == QProcess::NotRunning) {
        return;
    }
    process.terminate();
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(10000);
    }
}

}  // namespace

XDesktop::~XDesktop() {
    Stop(m_windowManager);
    Stop(m_server);
}

bool XDesktop::Start(QString& whyNot) {
    for (const char* program : {"Xvfb", "openbox", "xprop", "xdotool"}) {
        if (QStandardPaths::findExecutable(program).isEmpty()) {
            whyNot = QString("%1 is not installed").arg(program);
            return false;
        }
    }
    // The server picks a free display number itself and writes it on the
    // descriptor given (its standard output here).
    m_server.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                            "-noreset"});
    if (!m_server.waitForStarted(10000)) {
        whyNot = "Xvfb does not start";
        return false;
    }
    QByteArray number;
    const QDeadlineTimer serverDeadline(60000);
    while (!number.contains('\n') && !serverDeadline.hasExpired() &&
           m_server.state() == QProcess::Running) {
        m_server.waitForReadyRead(1000);
        number += m_server.readAllStandardOutput();
    }
    if (!number.contains('\n')) {
        whyNot = "Xvfb gave no display number: " +
                 QString::fromLocal8Bit(m_server.readAllStandardError());
        return false;
    }
    m_display = ":" + QString::fromLatin1(number.trimmed());

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", m_display);
    m_windowManager.setProcessEnvironment(environment);
    m_windowManager.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_windowManager.start("openbox", {"--sm-disable"});
    if (!m_windowManager.waitForStarted(10000)) {
        whyNot = "openbox does not start";
        return false;
    }
    const QDeadlineTimer managerDeadline(60000);
    while (!WindowManagerRunning()) {
        if (managerDeadline.hasExpired() || m_windowManager.state() == QProcess::NotRunning) {
            whyNot = "openbox did not take the screen";
            return false;
        }
        QThread::msleep(100);
    }
    return true;
}

// A running window manager names its check window on the root window.
bool XDesktop::WindowManagerRunning() const {
    return Run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id #");
}

QString XDesktop::Run(const QString& program, const QStringList& arguments, int* exitCode) const {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", m_display);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    // The application goes on handling its events meanwhile: a client such
    // as xdotool may wait for this process's windows to react.
    const QDeadlineTimer deadline(60000);
    bool finished = false;
    while (!(finished = process.waitForFinished(20)) && !deadline.hasExpired() &&
           process.state() != QProcess::NotRunning) {
        QCoreApplication::processEvents();
    }
    finished = finished || process.state() == QProcess::NotRunning;
    if (exitCode != nullptr) {
        *exitCode =
            finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

bool XDesktop::WaitFor(const std::function<bool()>& condition, int seconds) {
    const QDeadlineTimer deadline(seconds * 1000);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    return true;
}

namespace {

// The numbers after "=" in an xprop answer.
QList<int> PropertyNumbers(const QString& answer) {
    QList<int> numbers;
    const qsizetype equals = answer.indexOf('=');
    if (equals < 0) {
        return numbers;
    }
    for (const QString& word : answer.mid(equals + 1).split(',')) {
        numbers << word.trimmed().toInt();
    }
    return numbers;
}

int XwininfoField(const QString& answer, const QString& label) {
    const QRegularExpression field(QRegularExpression::escape(label) + R"(:\s*(-?\d+))");
    return field.match(answer).captured(1).toInt();
}

}  // namespace

QRect XDesktop::OuterRect(WId window) const {
    const QString id = QString::number(window);
    const QString info = Run("xwininfo", {"-id", id});
    QList<int> extents = PropertyNumbers(Run("xprop", {"-id", id, "_NET_FRAME_EXTENTS"}));
    extents.resize(4, 0);  // left, right, top, bottom
    const int x = XwininfoField(info, "Absolute upper-left X");
    const int y = XwininfoField(info, "Absolute upper-left Y");
    const int width = XwininfoField(info, "Width");
    const int height = XwininfoField(info, "Height");
    return QRect(x - extents[0], y - extents[2], width + extents[0] + extents[1],
                 height + extents[2] + extents[3]);
}

QStringList XDesktop::NetWmState(WId window) const {
    const QString answer = Run("xprop", {"-id", QString::number(window), "_NET_WM_STATE"});
    const qsizetype equals = answer.indexOf('=');
    QStringList atoms;
    if (equals >= 0) {
        for (const QString& atom : answer.mid(equals + 1).split(',', Qt::SkipEmptyParts)) {
            atoms << atom.trimmed();
        }
    }
    return atoms;
}

bool XDesktop::Iconic(WId window) const {
    return Run("xprop", {"-id", QString::number(window), "WM_STATE"}).contains("Iconic");
}

void XDesktop::Activate(WId window) const {
    Run("xdotool", {"windowactivate", QString::number(window)});
}
