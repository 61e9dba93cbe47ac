// One page of the exceptions report on a report surface: the header, then
// each entry one inch below the previous one, the first one inch from the top.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "desktop/core/ExceptionPages.h"
#include "desktop/core/ReportSurface.h"

namespace wexal::desktop {

struct PageHeader {
    std::string Date;  // the system's short date form
    std::string Time;  // hours and minutes on a 24-hour clock
    std::int64_t Page = 1;
};

// Draws on the surface as it stands (the caller clears it or starts a page).
void DrawExceptionsPage(ReportSurface& surface, const PageHeader& header,
                        const std::vector<PageEntry>& entries);

}  // namespace wexal::desktop
