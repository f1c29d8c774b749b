#include "Ufiche/window/WindowRules.h"

#include <QDir>
#include <QFileInfo>

#include "platform/errors/Messages.h"

namespace Ufiche {

bool SettingChangeTurnsLightRed(const QString& subjectText) {
    return subjectText != " ";
}

QString SeparatorLengthCaption(const QString& separatorLine) {
    return "(" + QString::number(separatorLine.size()) + ")";
}

QString LevelHint(int position) {
    return platform::messages::levelHint(position);
}

bool SubjectButtonsEnabled(const QString& subjectPlainText) {
    return !subjectPlainText.isEmpty();
}

QString SettingsFileName(const QString& executablePath) {
    const int nameStart = static_cast<int>(executablePath.lastIndexOf('/')) + 1;
    const int dot = static_cast<int>(executablePath.lastIndexOf('.'));
    const QString stem = dot > nameStart ? executablePath.left(dot) : executablePath;
    return stem + ".ini";
}

SettingsLocation BuiltSettingsLocation() {
#ifdef FICHE_USER_SETTINGS
    return SettingsLocation::UserConfiguration;
#else
    return SettingsLocation::BesideExecutable;
#endif
}

QString UserSettingsFolder(const QString& xdgConfigHome, const QString& home) {
    // A relative value is no configuration folder: it would move with the
    // folder the program was started from.
    QString configHome;
    if (QDir::isAbsolutePath(xdgConfigHome)) {
        configHome = xdgConfigHome;
    } else if (QDir::isAbsolutePath(home)) {
        configHome = home + "/.config";
    } else {
        return {};
    }
    return QDir::cleanPath(configHome + "/fiches-conversions");
}

QString SettingsFileName(SettingsLocation location, const QString& executablePath,
                         const QString& xdgConfigHome, const QString& home) {
    const QString besideExecutable = SettingsFileName(executablePath);
    if (location == SettingsLocation::BesideExecutable) {
        return besideExecutable;
    }
    const QString folder = UserSettingsFolder(xdgConfigHome, home);
    if (folder.isEmpty()) {
        return besideExecutable;
    }
    return folder + "/" + QFileInfo(besideExecutable).fileName();
}

QString SaveDialogStartFolder(const QString& storedFolder, SettingsLocation location,
                              const QString& currentFolder, const QString& documentsFolder) {
    if (!storedFolder.isEmpty()) {
        return storedFolder;
    }
    return location == SettingsLocation::UserConfiguration ? documentsFolder : currentFolder;
}

QPoint SaveNoticePosition(const QSize& clientSize, const QSize& noticeSize) {
    // C++ integer division truncates toward zero, as the placement wants even
    // in a window smaller than the notice.
    return {(clientSize.width() - noticeSize.width()) / 2,
            (clientSize.height() - noticeSize.height()) / 2};
}

QString CompileStampText(const QString& executablePath, const QString& dateTime) {
    return QFileInfo(executablePath).fileName() + " : " + dateTime;
}

}  // namespace Ufiche
