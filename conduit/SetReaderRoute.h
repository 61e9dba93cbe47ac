// Makes a route the reader's current route on the handheld (text 3 of
// record 0 of "readerDB"). Shared by the links that download routes.
#pragma once

#include <cstdint>
#include <string>

// Always 1, also when the reader settings cannot be opened or read (they are
// then left as they are).
std::int32_t SetReaderRoute(const std::string& route);
