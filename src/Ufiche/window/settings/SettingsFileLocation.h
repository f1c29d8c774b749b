#pragma once

#include <QString>

namespace Ufiche {

// The settings file of this run, where the program was built to keep it
// (beside the executable, or in the user's configuration folder). The
// configuration folder is created when missing; when it cannot be, the save
// at close reports the file it could not write.
QString LocateSettingsFile();

}  // namespace Ufiche
