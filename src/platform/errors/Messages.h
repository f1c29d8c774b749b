#pragma once

#include <QString>

// Every French text that the program's own code shows to the teacher: error
// messages, dialog titles and prompts, hints and job titles. The captions of
// the window's controls stay in its form (.ui). Source files are UTF-8, and
// accented letters are written as escapes so that no compiler setting can
// change them.
namespace platform::messages {

// The window's title, which is also the application's display name.
inline const QString kWindowTitle = QStringLiteral("Fiches de conversions d'unit\u00e9s");

// Errors of the files the program writes and reads.
inline QString cannotCreateFile(const QString& fullName) {
    return QStringLiteral("Impossible de cr\u00e9er le fichier %1").arg(fullName);
}
inline QString cannotWriteTo(const QString& fullPath) {
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
// The job titles, which the printer queue and a PDF's title show.
inline const QString kSubjectJobTitle = QStringLiteral("Sujet");
inline const QString kAnswerKeyJobTitle = QStringLiteral("Corrig\u00e9");

// The input box of "A", which adds an instruction text.
inline const QString kNewTextTitle = QStringLiteral("Nouveau texte");
inline const QString kNewTextPrompt = QStringLiteral("Entrez votre texte");

// The level track bar's hint.
inline QString levelHint(int level) {
    return QStringLiteral("Niveau %1").arg(level);
}

// What the error report shows for a failure that carries no text of its own.
inline const QString kUnknownError = QStringLiteral("Erreur inconnue");

}  // namespace platform::messages
