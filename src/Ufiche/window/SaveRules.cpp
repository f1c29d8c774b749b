#include "Ufiche/window/SaveRules.h"

namespace Ufiche {

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

}  // namespace Ufiche
