#pragma once

#include "contracts/client/base_screens/saved_options.h"
#include "platform/ui/form.h"

namespace pag {

// The state of a dialog's criteria controls as name=value entries, for saving a user's
// filter: unbound edits by their text, check boxes and radio buttons "S" or "N", radio
// groups by item index, combo boxes by text. Controls bound to a field hold data, not
// criteria, and are left out.
OptionList CaptureControlState(const Form& form);

// Puts a captured state back. A checked radio button is checked again (which unchecks
// its neighbours); changing a check box, radio button or radio group runs its click
// handler, as when the user does it. Entries for controls the dialog no longer has, or
// of another kind, are passed over.
void RestoreControlState(Form& form, const OptionList& state);

}  // namespace pag
