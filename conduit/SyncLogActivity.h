// Activity numbers of the conduit's sync log lines.
#pragma once

#include <cstdint>

// A readings file or the exceptions-capture file cannot be written.
inline constexpr std::int32_t kActivityFileWrite = 17;
// The start line; a start without a valid configuration.
inline constexpr std::int32_t kActivityStarted = 19;
// The finish line; an invalid route path or a failed folder search.
inline constexpr std::int32_t kActivityFinished = 20;
// The configuration's error text, an unsupported interface, a failed
// workbook upload or download.
inline constexpr std::int32_t kActivityConfiguration = 21;
// Handheld database errors, a missing route file, sort-order errors, no
// readings to upload, and the reports of the workbook link.
inline constexpr std::int32_t kActivityHandheld = 22;
