// Activity numbers of the conduit's sync log lines.
#pragma once

#include <cstdint>

// A readings file, the exceptions-capture file or the lock of a billing file
// cannot be written.
inline constexpr std::int32_t kActivityFileWrite = 17;
// The start line; a start without a valid configuration; a wait for the
// lock of a billing file; a route file taken up from an interrupted sync or
// left for the next one.
inline constexpr std::int32_t kActivityStarted = 19;
// The finish line; an invalid route path or a failed folder search.
inline constexpr std::int32_t kActivityFinished = 20;
// The configuration's error text, an unsupported interface, a failed
// workbook upload or download.
inline constexpr std::int32_t kActivityConfiguration = 21;
// Handheld database errors, a missing route file, sort-order errors, no
// readings to upload, and the reports of the workbook link.
inline constexpr std::int32_t kActivityHandheld = 22;
