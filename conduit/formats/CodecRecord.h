// What a codec knows besides its open file: its field texts, the mode letter
// of the Open that succeeded last (D route file, U readings file) and the
// path it opened. A codec that reads route files and writes readings files
// alike has one record for both directions.
#pragma once

#include <array>
#include <string>

#include "conduit/formats/CodecField.h"

struct CodecRecord {
    std::array<std::string, kCodecFieldCount> fields;
    char mode = '\0';
    std::string path;
};
