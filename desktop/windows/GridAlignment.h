// A grid column's alignment code as Qt aligns a cell's or an editor's text.
#pragma once

#include <Qt>
#include <cstdint>

#include "desktop/core/QvGridColumn.h"

namespace wexal::desktop {

inline Qt::Alignment QtAlignment(std::int16_t alignment) {
    switch (alignment) {
        case kAlignRight:
            return Qt::AlignRight | Qt::AlignVCenter;
        case kAlignCentre:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        default:
            return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

}  // namespace wexal::desktop
