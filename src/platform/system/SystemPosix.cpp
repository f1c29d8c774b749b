#include "platform/system/System.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

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

bool SysfsFlagSet(const QString& name) {
    return ReadWholeFile(name).trimmed() == "1";
}

}  // namespace

QString ExecutablePath() {
    return QCoreApplication::applicationFilePath();
}

bool IsOnRemovableDrive(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const QString device = detail::DeviceOfPath(ReadWholeFile("/proc/self/mountinfo"),
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

void detail::MakePrivateFolder(const QString& folder) {
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
}

bool IsDebuggerAttached() {
    return detail::TracerPid(ReadWholeFile("/proc/self/status")) != 0;
}

}  // namespace platform
