// The two tables of the configuration object and their lookup and update
// rules. The file side is in ConfigFile.cpp.
#include "desktop/core/clsConfig.h"

#include <utility>

#include "desktop/core/TextCompare.h"

namespace wexal::desktop {

namespace {

// The position (from 1) that `index` selects in a table of records keyed by
// `key`, or 0 for none.
template <typename Record, typename Key>
std::size_t Select(const std::vector<Record>& table, const RecordIndex& index, Key key) {
    if (const auto* position = std::get_if<std::int32_t>(&index)) {
        return *position >= 1 && static_cast<std::size_t>(*position) <= table.size()
                   ? static_cast<std::size_t>(*position)
                   : 0;
    }
    const std::string_view name = std::get<std::string_view>(index);
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (EqualIgnoringCase(key(table[i]), name)) {
            return i + 1;
        }
    }
    return 0;
}

const std::string& InterfaceKey(const InterfaceRec& record) {
    return record.Name;
}

const std::string& CodeKey(const ResponseCodeRec& record) {
    return record.Code;
}

template <typename Field>
void Store(const std::optional<Field>& given, Field& field) {
    if (given) {
        field = *given;
    }
}

}  // namespace

void clsConfig::AddInterface(InterfaceRec record) {
    mInterfaces.push_back(std::move(record));
}

bool clsConfig::GetInterface(const RecordIndex& Index, InterfaceRec& out) const {
    const std::size_t position = Select(mInterfaces, Index, InterfaceKey);
    if (position == 0) {
        for (std::string* text :
             {&out.Name, &out.Server, &out.UserName, &out.Password, &out.Database, &out.RoutePath,
              &out.ReadingsPath, &out.ReadingsRollPath}) {
            text->clear();
        }
        out.SelectedSpreadsheet = 0;
        return false;
    }
    out = mInterfaces[position - 1];
    return true;
}

bool clsConfig::UpdateInterface(const RecordIndex& Index, const InterfaceUpdate& fields) {
    std::size_t position = Select(mInterfaces, Index, InterfaceKey);
    if (position == 0) {
        const auto* name = std::get_if<std::string_view>(&Index);
        if (name == nullptr) {
            return false;
        }
        AddInterface(InterfaceRec{.Name = std::string(*name)});
        position = mInterfaces.size();
    }
    InterfaceRec& record = mInterfaces[position - 1];
    Store(fields.Name, record.Name);
    Store(fields.Server, record.Server);
    Store(fields.UserName, record.UserName);
    Store(fields.Password, record.Password);
    Store(fields.Database, record.Database);
    Store(fields.RoutePath, record.RoutePath);
    Store(fields.ReadingsPath, record.ReadingsPath);
    Store(fields.SelectedSpreadsheet, record.SelectedSpreadsheet);
    Store(fields.Workbook, record.Workbook);
    Store(fields.Worksheet, record.Worksheet);
    Store(fields.WorksheetDataStart, record.WorksheetDataStart);
    Store(fields.WorksheetUsageRow, record.WorksheetUsageRow);
    Store(fields.RouteMap, record.RouteMap);
    Store(fields.ReadingMap, record.ReadingMap);
    Store(fields.ReadingsRollPath, record.ReadingsRollPath);
    return true;
}

void clsConfig::AddResponseCode(std::string Code, std::string Description, std::string NoRead,
                                std::string Service) {
    mResponseCodes.push_back(
        {std::move(Code), std::move(Description), std::move(NoRead), std::move(Service)});
}

bool clsConfig::GetResponseCode(const RecordIndex& Index, ResponseCodeRec& out) const {
    const std::size_t position = Select(mResponseCodes, Index, CodeKey);
    if (position == 0) {
        return false;
    }
    out = mResponseCodes[position - 1];
    return true;
}

bool clsConfig::UpdateResponseCode(const RecordIndex& Index, const ResponseCodeUpdate& fields) {
    std::size_t position = Select(mResponseCodes, Index, CodeKey);
    if (position == 0) {
        const auto* code = std::get_if<std::string_view>(&Index);
        if (code == nullptr) {
            return false;
        }
        AddResponseCode(std::string(*code), {}, {}, {});
        position = mResponseCodes.size();
    }
    ResponseCodeRec& record = mResponseCodes[position - 1];
    Store(fields.Code, record.Code);
    Store(fields.Description, record.Description);
    Store(fields.NoRead, record.NoRead);
    Store(fields.Service, record.Service);
    return true;
}

void clsConfig::EraseResponseCodes() {
    mResponseCodes.clear();
}

}  // namespace wexal::desktop
