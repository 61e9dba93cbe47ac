// The exceptions report's pages: nine included meters to a page, in the order
// of the capture file. The file is read anew for every count and every page,
// so what a sync appends meanwhile shows on later pages.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "desktop/core/ExceptionRecord.h"
#include "desktop/core/ExceptionVerdict.h"
#include "desktop/core/ReadingsKeys.h"

namespace wexal::desktop {

inline constexpr std::int64_t kEntriesPerPage = 9;

// One included meter as printed in a slot of its page.
struct PageEntry {
    std::int64_t Slot = 0;  // 1 to 9, from the top of the page
    ExceptionRecord Record;
    std::string Reason;
    // Where it stands in the capture file: the line's position from 0 and its
    // bytes with their line end, so that clearing removes exactly this line.
    std::uint64_t LineIndex = 0;
    std::string Line;
};

// What to include and where to look up the readings.
struct ExceptionSelection {
    std::string CaptureFile;
    ExceptionKinds Kinds;
    const ReadingsKeys* Readings = nullptr;
};

// The number of included meters. Throws std::runtime_error when the capture
// file cannot be read.
std::int64_t CountIncludedExceptions(const ExceptionSelection& selection);

// The smallest number of pages that holds `included` entries.
std::int64_t PageCount(std::int64_t included);

// The entries of page `page` (from 1) when `included` entries were counted:
// ordinals (page - 1) x 9 + 1 up to nine further, none beyond `included`.
// Throws std::runtime_error when the capture file cannot be read.
std::vector<PageEntry> EntriesOfPage(const ExceptionSelection& selection, std::int64_t page,
                                     std::int64_t included);

}  // namespace wexal::desktop
