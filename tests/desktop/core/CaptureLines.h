// Lines of an exceptions-capture file as the conduit lays them out: 368
// columns, every field blank-padded in its place, CR LF at the end.
#pragma once

#include <string>

namespace wexal::testing {

struct CaptureFields {
    std::string service;
    std::string tag;
    std::string serial;
    std::string type;
    std::string previous;
    std::string hi;  // maximum expected reading
    std::string lo;  // minimum expected reading
    std::string current;
    std::string date;
    std::string time;
    std::string owner;
    std::string location;
    std::string message;
    std::string reader;
    std::string code;
    std::string text;
};

// Writes `value` at columns `first` (from 1) onward, cut to `width`.
inline void Place(std::string& line, std::size_t first, std::size_t width,
                  const std::string& value) {
    line.replace(first - 1, std::min(width, value.size()), value.substr(0, width));
}

inline std::string CaptureLine(const CaptureFields& f) {
    std::string line(368, ' ');
    Place(line, 1, 20, f.service);
    Place(line, 21, 20, f.tag);
    Place(line, 41, 10, f.serial);
    Place(line, 51, 1, f.type);
    Place(line, 58, 10, f.previous);
    Place(line, 68, 10, f.hi);
    Place(line, 78, 10, f.lo);
    Place(line, 88, 10, f.current);
    Place(line, 98, 6, f.date);
    Place(line, 104, 6, f.time);
    Place(line, 110, 60, f.owner);
    Place(line, 170, 60, f.location);
    Place(line, 230, 60, f.message);
    Place(line, 291, 10, f.reader);
    Place(line, 301, 2, f.code);
    Place(line, 303, 60, f.text);
    return line + "\r\n";
}

}  // namespace wexal::testing
