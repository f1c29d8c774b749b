#pragma once

#include <QString>

// The French texts of the platform's services: error messages and the
// printer choice. The application's own texts are in Ufiche/texts, the
// captions of the window's controls in its form (.ui). Source files are UTF-8, and
// accented letters are written as escapes so that no compiler setting can
// change them.
namespace platform::messages {

// Errors of the files the program writes and reads.
inline QString CannotCreateFile(const QString& fullName) {
    return QStringLiteral("Impossible de cr\u00e9er le fichier %1").arg(fullName);
}
inline QString CannotWriteTo(const QString& fullPath) {
    return QStringLiteral("Impossible d'\u00e9crire dans %1").arg(fullPath);
}
inline const QString kStreamLoadError = QStringLiteral("Erreur au chargement du flux");

// Printing.
inline const QString kNoDefaultPrinter =
    QStringLiteral("Aucune imprimante par d\u00e9faut s\u00e9lectionn\u00e9e");
inline const QString kInvalidPrinter =
    QStringLiteral("Imprimante s\u00e9lectionn\u00e9e incorrecte");
inline const QString kPrinterChoiceTitle = QStringLiteral("Choix de l'imprimante");
inline const QString kPrinterChoiceConfirm = QStringLiteral("OK");

// What the error report shows for a failure that carries no text of its own.
inline const QString kUnknownError = QStringLiteral("Erreur inconnue");

}  // namespace platform::messages
