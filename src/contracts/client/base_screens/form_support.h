#pragma once

#include <vector>

#include "contracts/client/messages.h"
#include "platform/ui/form.h"

namespace pag {

// A screen whose message tables can be searched by key (every base screen is one), so
// that whoever shows a screen can turn a key into the text the screen shows.
class HasMessageTables {
public:
    virtual ~HasMessageTables() = default;
    virtual std::vector<const TMessages*> MessageTables() const = 0;
};

// The user interface a base screen talks through; a screen that was given none is a
// programming error (std::logic_error naming the screen).
UserInterface& formUserInterface(const Form& form);

}  // namespace pag
