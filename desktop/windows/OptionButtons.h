// A set of option buttons of which at most one is set, and which may also
// have none set: the state the tabs show for a stored value that no button
// carries.
#pragma once

#include <QButtonGroup>

namespace wexal::desktop {

// Sets the button of `id` in `group` and clears the others; an id that no
// button has clears them all. The buttons' toggled signals fire as usual.
void SetOptionButton(QButtonGroup& group, int id);

}  // namespace wexal::desktop
