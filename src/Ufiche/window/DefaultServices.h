#pragma once

#include <QString>

#include <cstdint>
#include <optional>

class QWidget;

// What the window uses unless a test replaces it: the clock that seeds each
// activation, the input box of a new instruction text and the save dialog.
namespace Ufiche {

std::uint32_t ClockSeed();

// The modal input box "Nouveau texte", wide enough for its whole title: the
// text typed, or nothing when cancelled.
std::optional<QString> AskNewText(QWidget* parent);

// The save dialog, from its starting folder (when empty, the current folder,
// or the documents folder for an installed program) and the proposed name:
// the full name chosen, or nothing when cancelled.
std::optional<QString> ChooseSaveName(QWidget* parent, const QString& initialDir,
                                      const QString& proposedName);

// Writes "_DatCompil.txt" in the current folder: a trace of the build for
// whoever debugs. A failure to write it is of no consequence.
void WriteCompileStamp();

// The compile stamp's content: the executable's name without folder, " : ",
// the date and time; no line end.
QString CompileStampText(const QString& executablePath, const QString& dateTime);

}  // namespace Ufiche
