// Route files and readings files for the codec tests.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"
#include "tests/support/TempDir.h"

namespace wexal::testing {

// Writes `content` as the route file "route.txt" and opens `meter` on it.
inline void OpenRouteFile(VendorMeter& meter, const TempDir& dir, const std::string& content) {
    const auto path = dir / "route.txt";
    WriteFile(path, content);
    ASSERT_EQ(meter.Open(path.string()), 0);
}

// Reads the only record of a route file holding `line` and its line end.
inline void ReadLine(VendorMeter& meter, const TempDir& dir, const std::string& line) {
    OpenRouteFile(meter, dir, line + "\r\n");
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
}

using FieldTexts = std::initializer_list<std::pair<CodecField, std::string>>;

// Writes one readings line from `fields` into a new file; gives the file.
inline std::string WriteOneLine(VendorReading& reading, const TempDir& dir, FieldTexts fields) {
    const auto path = dir / "readings.txt";
    EXPECT_EQ(reading.Open(path.string(), 1), 0);
    for (const auto& [field, text] : fields) {
        reading.SetField(field, text);
    }
    EXPECT_EQ(reading.Write(), 0);
    EXPECT_EQ(reading.Close(), 0);
    return ReadFile(path);
}

}  // namespace wexal::testing
