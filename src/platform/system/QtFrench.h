#pragma once

class QCoreApplication;

namespace platform {

// Makes Qt's own dialogs (file, printer, input box) speak French whatever the
// system's language: installs Qt's French translations, from Qt's
// translations folder or from a "translations" folder beside the program.
// Returns false, and the dialogs stay in Qt's English, when none is found.
bool InstallQtFrench(QCoreApplication& application);

}  // namespace platform
