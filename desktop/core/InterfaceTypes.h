// The fixed catalogue of billing-system interfaces the desktop offers: the
// name shown in the interface list, the interface code the configuration
// stores, and which rows of the Interface tab apply.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wexal::desktop {

struct InterfaceTypeInfo {
    std::int16_t Id = 0;  // item data of the row's entry in the interface list
    std::string DisplayName{};
    std::string Code{};
    bool RouteFile = false;     // flag 1: "Route File:"
    bool ReadingsFile = false;  // flag 2: "Readings File:" and "Roll Readings:"
    bool Flag3 = false;         // flag 3: shows nothing
    bool Excel = false;         // flag 4: the workbook block and "Data Mapping"
    bool Server = false;        // flag 5: "Server Name:"
    bool DSN = false;           // flag 6: "DSN:"
    bool UserID = false;        // flag 8: "User ID:"
    bool Password = false;      // flag 9: "Password:"
    bool Database = false;      // flag 7: "Database:"
    bool Test = false;          // flag 10: the "&Test" button
    bool Install = false;       // flag 11: the "&Install" button
    bool Flag12 = false;        // flag 12: shows nothing
};

// A flag number given as a number or as the text of one ("2").
class FlagNumber {
  public:
    FlagNumber(int number) : number_(number) {}
    FlagNumber(std::string_view text);
    FlagNumber(const char* text) : FlagNumber(std::string_view(text)) {}

    // 1 to 12 select a flag; anything else (a fraction too) selects none.
    double Number() const { return number_; }

  private:
    double number_;
};

// Appends a row with every flag false but those the flag numbers select.
void AddInterfaceType(std::vector<InterfaceTypeInfo>& table, std::int16_t id,
                      std::string displayName, std::string code,
                      const std::vector<FlagNumber>& flags);

// The 38 rows in list order, ids 15, 25, ... 385.
std::vector<InterfaceTypeInfo> BuildInterfaceTypes();

// The row of a stored interface code, compared without regard to ASCII letter
// case; nullptr when none.
const InterfaceTypeInfo* FindInterfaceType(const std::vector<InterfaceTypeInfo>& table,
                                           std::string_view code);

// The row of an interface-list entry's item data; nullptr when none.
const InterfaceTypeInfo* FindInterfaceTypeById(const std::vector<InterfaceTypeInfo>& table,
                                               std::int16_t id);

}  // namespace wexal::desktop
