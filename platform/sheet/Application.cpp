#include "platform/sheet/Application.h"

namespace wexal::sheet {

Workbook& WorkbookCollection::Open(const std::filesystem::path& path) {
    workbooks_.push_back(std::make_unique<Workbook>(path));
    return *workbooks_.back();
}

void WorkbookCollection::CloseAll() {
    for (const auto& workbook : workbooks_) {
        workbook->Close();
    }
    workbooks_.clear();
}

}  // namespace wexal::sheet
