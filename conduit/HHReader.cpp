#include "conduit/HHReader.h"

HHReader::HHReader() : db_("Overwrote buffer on Reader Pack", nullptr) {}

HHReader::~HHReader() = default;

std::int32_t HHReader::Open() {
    return HHDatabase::Succeeded(db_.Open(kDatabaseName)) ? 1 : 0;
}

std::int32_t HHReader::Close() {
    return db_.Close();
}

std::int32_t HHReader::Clear() {
    db_.Clear(Numbers(), Texts());
    return 0;
}

std::int32_t HHReader::Write() {
    return db_.Write(Numbers(), Texts());
}

std::int32_t HHReader::ReadByIndex(std::uint16_t index) {
    return db_.ReadByIndex(index, Numbers(), Texts());
}

std::array<std::uint16_t*, HHReader::kNumberCount> HHReader::Numbers() {
    return {&Word1,
            &Word2,
            &Word3,
            &Word4,
            &Word5,
            &Word6,
            &Word7,
            &ShowExpectedRange,
            &ShowPriorReadings,
            &UseInitials,
            &UseInitialsAgain,
            &RightToLeft,
            &Word13,
            &Word14,
            &Word15,
            &Word16,
            &AutoOffSeconds,
            &Journalling,
            &MeterIDChoice,
            &RestorePIN,
            &Word21,
            &Word22,
            &Word23,
            &Word24};
}

std::array<std::string*, HHReader::kTextCount> HHReader::Texts() {
    return {&Text1, &UserName, &CurrentRoute, &Text4, &Text5, &Text6, &Text7};
}
