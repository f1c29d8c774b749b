#include "platform/system/System.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace platform {
namespace {

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

}  // namespace

namespace detail {

QString DeviceOfPath(const QString& mountInfo, const QString& path) {
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

int TracerPid(const QString& status) {
    for (const QString& line : status.split('\n')) {
        if (line.startsWith("TracerPid:")) {
            return line.mid(10).trimmed().toInt();
        }
    }
    return 0;
}

}  // namespace detail

void OpenUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

bool CreatePrivateFolder(const QString& path) {
    const QString folder = QDir::cleanPath(QDir(path).absolutePath());
    if (QFileInfo(folder).isDir()) {
        return true;
    }
    const QString parent = QFileInfo(folder).path();
    if (parent != folder && !CreatePrivateFolder(parent)) {
        return false;
    }
    // What counts is that the folder is there afterwards, whoever made it.
    detail::MakePrivateFolder(folder);
    return QFileInfo(folder).isDir();
}

}  // namespace platform
