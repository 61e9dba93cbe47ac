#include "desktop/core/ExceptionsPageDrawing.h"

#include "desktop/core/PrintColumns.h"

namespace wexal::desktop {

void DrawExceptionsPage(ReportSurface& surface, const PageHeader& header,
                        const std::vector<PageEntry>& entries) {
    PrintColumns(surface, 0.5F, 0.5F, "", {"Date: " + header.Date, "Time: " + header.Time});
    PrintColumns(surface, 4.25F, 0.5F, "center", {"Readings Exception Report"});
    PrintColumns(surface, 7.75F, 0.5F, "right", {"Page: " + std::to_string(header.Page)});

    for (const PageEntry& entry : entries) {
        const ExceptionRecord& r = entry.Record;
        const auto y = static_cast<float>(entry.Slot);
        PrintColumns(surface, 0.5F, y, "bold",
                     {"Service", "Tag#", "Serial #", "Type", "", "Response"});
        PrintColumns(surface, 2.4F, y, "bold", {"Previous", "Current", "Date", "Time"});
        PrintColumns(surface, 3.7F, y, "bold", {"Expect Lo", "Expect Hi"});
        PrintColumns(surface, 5.2F, y, "bold", {"Owner", "Location", "Message", "Reader"});
        PrintColumns(
            surface, 1.1F, y, "",
            {r.Service, r.Tag, r.Serial, r.Type, "", r.ResponseCode + " " + r.ResponseText});
        PrintColumns(surface, 3.0F, y, "", {r.Previous, r.Current, r.Date, r.Time});
        PrintColumns(surface, 4.4F, y, "", {r.ExpectLo, r.ExpectHi});
        PrintColumns(surface, 5.8F, y, "", {r.Owner, r.Location, r.Message, r.Reader});
        PrintColumns(surface, 7.3F, y, "bold", {entry.Reason});
    }
}

}  // namespace wexal::desktop
