#include "platform/system/System.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <sys/stat.h>

namespace platform {
namespace {

QString ReadWholeFile(const QString& name) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

// mountinfo escapes blanks and backslashes in paths as octal sequences.
QString UnescapeMountPath(const QString& field) {
    QString path;
    for (int i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                path += QChar(code);
                i += 3;
                continue;
            }
        }
        path += field[i];
    }
    return path;
}

bool Holds(const QString& mountPoint, const QString& path) {
    if (mountPoint == "/") {
        return true;
    }
    return path == mountPoint || path.startsWith(mountPoint + "/");
}

bool SysfsFlagSet(const QString& name) {
    return ReadWholeFile(name).trimmed() == "1";
}

}  // namespace

namespace detail {

QString deviceOfPath(const QString& mountInfo, const QString& path) {
    QString device;
    qsizetype longest = -1;
    for (const QString& line : mountInfo.split('\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(' ');
        if (fields.size() < 5) {
            continue;
        }
        const QString mountPoint = UnescapeMountPath(fields[4]);
        if (Holds(mountPoint, path) && mountPoint.size() > longest) {
            longest = mountPoint.size();
            device = fields[2];
        }
    }
    return device;
}

int tracerPid(const QString& status) {
    for (const QString& line : status.split('\n')) {
        if (line.startsWith("TracerPid:")) {
            return line.mid(10).trimmed().toInt();
        }
    }
    return 0;
}

}  // namespace detail

QString executablePath() {
    return QCoreApplication::applicationFilePath();
}

bool isOnRemovableDrive(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const QString device = detail::deviceOfPath(ReadWholeFile("/proc/self/mountinfo"),
                                                canonical.isEmpty() ? path : canonical);
    if (device.isEmpty()) {
        return false;
    }
    // /sys/dev/block/MAJ:MIN leads to the partition or the disk; a partition's
    // parent folder is its disk.
    const QString block = QFileInfo("/sys/dev/block/" + device).canonicalFilePath();
    if (block.isEmpty()) {
        return false;
    }
    return SysfsFlagSet(block + "/removable") ||
           SysfsFlagSet(QFileInfo(block).absolutePath() + "/removable");
}

bool createPrivateFolder(const QString& path) {
    const QString folder = QDir::cleanPath(QDir(path).absolutePath());
    if (QFileInfo(folder).isDir()) {
        return true;
    }
    const QString parent = QFileInfo(folder).path();
    if (parent != folder && !createPrivateFolder(parent)) {
        return false;
    }
    // Another process may create it in between: what counts is that it is
    // there afterwards.
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
    return QFileInfo(folder).isDir();
}

bool isDebuggerAttached() {
    return detail::tracerPid(ReadWholeFile("/proc/self/status")) != 0;
}

void openUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

}  // namespace platform
