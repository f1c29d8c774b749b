#pragma once

#include <initializer_list>

class QWidget;

namespace Ufiche {

// Paints each of the fields in the entry colour while it has the focus and
// white once it has lost it (the form's eTitre1Enter, eTitre1Exit,
// Combo1Enter and Combo1Exit). The watcher is a child of `owner`.
void PaintFieldsOnFocus(QWidget& owner, std::initializer_list<QWidget*> fields);

}  // namespace Ufiche
