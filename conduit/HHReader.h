// The reader settings: record 0 of the handheld database "readerDB", 24
// words that the handheld application obeys, then 7 texts.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "conduit/HHDatabase.h"

class HHReader {
  public:
    static constexpr const char* kDatabaseName = "readerDB";
    static constexpr std::size_t kNumberCount = 24;
    static constexpr std::size_t kTextCount = 7;
    // Auto-off time that means "never switch off".
    static constexpr std::uint16_t kNeverAutoOff = 0xFFFF;

    HHReader();
    virtual ~HHReader();
    HHReader(const HHReader&) = delete;
    HHReader& operator=(const HHReader&) = delete;

    // 1 when readerDB was opened or created, 0 when not.
    std::int32_t Open();
    std::int32_t Close();
    std::int32_t Clear();
    std::int32_t Write();
    // Read errors are left to the caller: none is logged here.
    std::int32_t ReadByIndex(std::uint16_t index);

    std::uint32_t RecordCount() const { return db_.RecordCount(); }

    // Words 1 to 7 belong to the handheld application (5 and 6 are reset).
    std::uint16_t Word1 = 0;
    std::uint16_t Word2 = 0;
    std::uint16_t Word3 = 0;
    std::uint16_t Word4 = 0;
    std::uint16_t Word5 = 0;
    std::uint16_t Word6 = 0;
    std::uint16_t Word7 = 0;
    std::uint16_t ShowExpectedRange = 0;
    std::uint16_t ShowPriorReadings = 0;
    std::uint16_t UseInitials = 0;
    std::uint16_t UseInitialsAgain = 0;
    std::uint16_t RightToLeft = 0;
    std::uint16_t Word13 = 0;
    std::uint16_t Word14 = 0;
    std::uint16_t Word15 = 0;
    std::uint16_t Word16 = 0;
    std::uint16_t AutoOffSeconds = 0;
    std::uint16_t Journalling = 0;
    std::uint16_t MeterIDChoice = 0;
    std::uint16_t RestorePIN = 0;
    std::uint16_t Word21 = 0;
    std::uint16_t Word22 = 0;
    std::uint16_t Word23 = 0;
    std::uint16_t Word24 = 0;
    std::string Text1;
    std::string UserName;
    std::string CurrentRoute;
    std::string Text4;
    std::string Text5;
    std::string Text6;
    std::string Text7;

  private:
    std::array<std::uint16_t*, kNumberCount> Numbers();
    std::array<std::string*, kTextCount> Texts();

    HHDatabase db_;
};
