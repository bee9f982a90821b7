// A form of every control that carries scroll bars (memo, list box, tree,
// list view, the two stand-alone bars), each filled so that its bars have
// something to scroll.
#pragma once

#include "toolkit/forms.h"

#include <vector>

namespace qh::showcase {

// Fills `form` (positioned, captioned, made by the caller) and answers the
// controls whose bars the skin paints.
std::vector<TControl*> FillScrollbarForm(TForm& form);

} // namespace qh::showcase
