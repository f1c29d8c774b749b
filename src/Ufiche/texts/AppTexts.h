#pragma once

#include <QString>

// The application's own French texts outside its form: the window's title,
// the job titles, the input box of a new instruction text and the level's
// hint. The platform's messages (errors, the printer choice) stay with the
// platform. Accented letters are written as escapes so that no compiler
// setting can change them.
namespace Ufiche::texts {

// The window's title, which is also the application's display name.
inline const QString kWindowTitle = QStringLiteral("Fiches de conversions d'unit\u00e9s");

// The job titles, which the printer queue and a PDF's title show.
inline const QString kSubjectJobTitle = QStringLiteral("Sujet");
inline const QString kAnswerKeyJobTitle = QStringLiteral("Corrig\u00e9");

// What the pages after the first of a set's sheet say: its code and the
// page's number, as the sheet's heading names the code.
inline QString SheetPageMark(const QString& code, int page) {
    return QStringLiteral("code %1 - page %2").arg(code).arg(page);
}

// The input box of "A", which adds an instruction text.
inline const QString kNewTextTitle = QStringLiteral("Nouveau texte");
inline const QString kNewTextPrompt = QStringLiteral("Entrez votre texte");

// The level track bar's hint.
inline QString LevelHint(int level) {
    return QStringLiteral("Niveau %1").arg(level);
}

}  // namespace Ufiche::texts
