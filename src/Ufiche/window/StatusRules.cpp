#include "Ufiche/window/StatusRules.h"

namespace Ufiche {

bool SettingChangeTurnsLightRed(const QString& subjectText) {
    return subjectText != " ";
}

bool SubjectButtonsEnabled(const QString& subjectPlainText) {
    return !subjectPlainText.isEmpty();
}

}  // namespace Ufiche
