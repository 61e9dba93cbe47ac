#include "desktop/windows/OptionButtons.h"

#include <QAbstractButton>

namespace wexal::desktop {

void SetOptionButton(QButtonGroup& group, int id) {
    if (QAbstractButton* button = group.button(id)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group never lets its last set button go.
    group.setExclusive(false);
    for (QAbstractButton* button : group.buttons()) {
        button->setChecked(false);
    }
    group.setExclusive(true);
}

}  // namespace wexal::desktop
