// The response codes: the handheld database "rcodesDB", one record of three
// texts per code.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "conduit/HHDatabase.h"

class HHCodes {
  public:
    static constexpr const char* kDatabaseName = "rcodesDB";
    static constexpr std::size_t kTextCount = 3;

    HHCodes();
    virtual ~HHCodes();
    HHCodes(const HHCodes&) = delete;
    HHCodes& operator=(const HHCodes&) = delete;

    // Deletes rcodesDB when it exists: 0 when it exists no longer, otherwise
    // the sync library's error.
    std::int32_t DeleteDB();
    // 1 when rcodesDB was opened or created, 0 when not.
    std::int32_t Open();
    std::int32_t Close();
    std::int32_t Clear();
    std::int32_t Write();

    std::uint32_t RecordCount() const { return db_.RecordCount(); }

    std::string Code;
    std::string Spare;  // always empty
    std::string Text;

  private:
    std::array<std::string*, kTextCount> Texts();

    HHDatabase db_;
};
