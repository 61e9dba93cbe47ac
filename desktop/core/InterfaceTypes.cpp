#include "desktop/core/InterfaceTypes.h"

#include <utility>

#include "desktop/core/NumericText.h"
#include "desktop/core/TextCompare.h"

namespace wexal::desktop {

namespace {

// The flag that flag number n (1 to 12) sets, in flag-number order.
constexpr bool InterfaceTypeInfo::*kFlags[] = {
    &InterfaceTypeInfo::RouteFile, &InterfaceTypeInfo::ReadingsFile, &InterfaceTypeInfo::Flag3,
    &InterfaceTypeInfo::Excel,     &InterfaceTypeInfo::Server,       &InterfaceTypeInfo::DSN,
    &InterfaceTypeInfo::Database,  &InterfaceTypeInfo::UserID,       &InterfaceTypeInfo::Password,
    &InterfaceTypeInfo::Test,      &InterfaceTypeInfo::Install,      &InterfaceTypeInfo::Flag12,
};

struct Row {
    const char* displayName;
    const char* code;
    std::vector<FlagNumber> flags;
};

}  // namespace

FlagNumber::FlagNumber(std::string_view text) : number_(NumericValue(text)) {}

void AddInterfaceType(std::vector<InterfaceTypeInfo>& table, std::int16_t id,
                      std::string displayName, std::string code,
                      const std::vector<FlagNumber>& flags) {
    InterfaceTypeInfo row{.Id = id, .DisplayName = std::move(displayName), .Code = std::move(code)};
    for (const FlagNumber& flag : flags) {
        for (std::size_t n = 1; n <= std::size(kFlags); ++n) {
            if (flag.Number() == static_cast<double>(n)) {
                row.*kFlags[n - 1] = true;
            }
        }
    }
    table.push_back(std::move(row));
}

std::vector<InterfaceTypeInfo> BuildInterfaceTypes() {
    // Text-file interfaces show the route and readings rows; the database ones
    // server or data source, database, user and password.
    const std::vector<FlagNumber> text = {2, 1};
    const Row rows[] = {
        {"Accufund", "ACCUFUND", text},
        {"Ad Valorem", "AVI", text},
        {"AutoAdmin SQLDirect", "SQLDirect", {5, 7, 8, 9}},
        {"Banyon Data", "BANYON", text},
        {"Caselle Software", "CASELLE", text},
        {"CSDC", "CSDC", text},
        {"CMS/Incode", "CMS", text},
        {"CUBIC, Corvallen", "CUBIC", text},
        {"Datawest", "DATAWEST", text},
        {"Data Pointe", "DATAPOINTE", text},
        {"El Dorado SoftWorld", "ELDORADO", text},
        {"Excel", "EXCEL", {4}},
        {"Incode", "INCODE", text},
        {"Infinitec", "INFINITEC", text},
        {"Jayhawk Software", "JAYHAWK", text},
        {"LOCIS", "LOCIS", text},
        {"LOGHH", "LOGHH", text},
        {"RMS Badger", "RMSBADGER", text},
        {"Connekt", "CONNEKT", text},
        {"Mega Systems", "MEGA", text},
        {"Municipal Software", "MUNI", text},
        {"NorthStar", "NORTHSTAR", text},
        {"ODBC", "ODBC", {6, 7, 8, 9}},
        {"Power Manager for Windows", "POWERSCS", text},
        {"PrairiFire", "PRAIRIFIRE", text},
        {"Our Town", "OURTOWN", text},
        {"Custom 1", "CUSTOM1", text},
        {"Datalogic", "DATA", text},
        {"QuikWater", "TAKTECH", text},
        {"RVS Software", "RVSSOFT", text},
        {"RAMAR", "RAMAR", text},
        {"Summit DTI", "SUMMITDTI", text},
        {"Software Consulting Associates", "SCA", text},
        {"Thoroughbred", "THOROUGHBR", text},
        {"Text Files", "Text", text},
        {"United Systems Technology", "USTI", text},
        {"UB Pro", "UBPRO", text},
        {"Williamson Law Book", "WLB", text},
    };
    std::vector<InterfaceTypeInfo> table;
    std::int16_t id = 15;
    for (const Row& row : rows) {
        AddInterfaceType(table, id, row.displayName, row.code, row.flags);
        id = static_cast<std::int16_t>(id + 10);
    }
    return table;
}

const InterfaceTypeInfo* FindInterfaceType(const std::vector<InterfaceTypeInfo>& table,
                                           std::string_view code) {
    for (const InterfaceTypeInfo& row : table) {
        if (EqualIgnoringCase(row.Code, code)) {
            return &row;
        }
    }
    return nullptr;
}

const InterfaceTypeInfo* FindInterfaceTypeById(const std::vector<InterfaceTypeInfo>& table,
                                               std::int16_t id) {
    for (const InterfaceTypeInfo& row : table) {
        if (row.Id == id) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace wexal::desktop
