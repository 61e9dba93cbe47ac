#include "desktop/core/ExceptionPages.h"

#include <algorithm>

#include "desktop/core/TextFileLines.h"

namespace wexal::desktop {

namespace {

// Calls `visit(record, verdict, index, line)` for every included line.
template <typename Visit>
void ForEachIncluded(const ExceptionSelection& selection, Visit&& visit) {
    TextFileLines lines(selection.CaptureFile);
    std::string line;
    for (std::uint64_t index = 0; lines.Next(line); ++index) {
        ExceptionRecord record = ReadExceptionRecord(WithoutLineEnd(line));
        ExceptionVerdict verdict = JudgeException(record, selection.Kinds, *selection.Readings);
        if (verdict.Included) {
            visit(record, verdict, index, line);
        }
    }
}

}  // namespace

std::int64_t CountIncludedExceptions(const ExceptionSelection& selection) {
    std::int64_t count = 0;
    ForEachIncluded(selection, [&](ExceptionRecord&, ExceptionVerdict&, std::uint64_t,
                                   const std::string&) { ++count; });
    return count;
}

std::int64_t PageCount(std::int64_t included) {
    return (included + kEntriesPerPage - 1) / kEntriesPerPage;
}

std::vector<PageEntry> EntriesOfPage(const ExceptionSelection& selection, std::int64_t page,
                                     std::int64_t included) {
    const std::int64_t first = (page - 1) * kEntriesPerPage + 1;
    const std::int64_t last = std::min(first + kEntriesPerPage - 1, included);
    std::vector<PageEntry> entries;
    std::int64_t ordinal = 0;
    // The whole file is read even past the page's last entry, as the count
    // was.
    ForEachIncluded(selection, [&](ExceptionRecord& record, ExceptionVerdict& verdict,
                                   std::uint64_t index, const std::string& line) {
        ++ordinal;
        if (ordinal >= first && ordinal <= last) {
            PageEntry entry;
            entry.Slot = static_cast<std::int64_t>(entries.size()) + 1;
            entry.Record = std::move(record);
            entry.Reason = std::move(verdict.Reason);
            entry.LineIndex = index;
            entry.Line = line;
            entries.push_back(std::move(entry));
        }
    });
    return entries;
}

}  // namespace wexal::desktop
