#pragma once

#include <QString>

class QComboBox;

// The list of instruction texts in its editable combo box. Changes made here
// raise no change event: they are not the teacher's typing.
namespace Ufiche {

// The chosen entry's index while the box's text still is that entry's text,
// -1 otherwise.
int SelectedEntry(const QComboBox& list);

// Appends the text, even when an equal entry exists, and makes it the box's
// text.
void AppendEntry(QComboBox& list, const QString& text);

// Removes the selected entry, if any; the box keeps its text.
void RemoveSelectedEntry(QComboBox& list);

}  // namespace Ufiche
