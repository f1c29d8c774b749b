#pragma once

#include <QString>
#include <QUrl>

namespace platform {

// The running program's full path.
QString ExecutablePath();

// Whether the file system that holds `path` sits on a removable device (a
// USB stick, a memory card): the mount with the longest mount point that
// holds the path, and the "removable" flag of its block device or of the
// disk that carries it.
bool IsOnRemovableDrive(const QString& path);

// Creates the folder `path` and any missing folder above it, readable by
// the owner only, as configuration folders are. Returns whether the folder
// exists afterwards.
bool CreatePrivateFolder(const QString& path);

// Whether a debugger (any tracer) is attached to this process.
bool IsDebuggerAttached();

// Asks the desktop to open a web page in the default browser; the result is
// of no interest to the caller.
void OpenUrl(const QUrl& url);

namespace detail {
// The block device ("major:minor") of the mount holding `path`, read from a
// /proc/self/mountinfo text; empty when none holds it.
QString DeviceOfPath(const QString& mountInfo, const QString& path);
// The tracer's process id in a /proc/self/status text; 0 when none.
int TracerPid(const QString& status);
// Creates the one folder `folder`, whose parent exists, readable by the owner
// only; the system's own call (mkdir, CreateDirectoryW). Its result is not
// looked at: another process may create the folder in between.
void MakePrivateFolder(const QString& folder);
}  // namespace detail

}  // namespace platform
