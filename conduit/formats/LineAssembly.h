// Builds the characters of one readings line before its line end.
//
// Pieces are inserted in ascending column order into a line of blanks, each
// at its own column: a piece no longer than the room before the next piece
// lands there followed by blanks; a longer one pushes what follows it to
// the right. The line end goes in at column L - 1 and cuts the rest. A CR or
// LF inside a piece becomes a blank: only the line end ends the line.
#pragma once

#include <string>
#include <vector>

class VendorReading;
struct ReadingLayout;

class LineAssembler {
  public:
    // The L - 1 characters before the line end; valid until the next call.
    const std::string& Assemble(const ReadingLayout& layout, const VendorReading& codec);
    // The readings of the last line that lost digits in their columns, as
    // they were before the cut.
    const std::vector<std::string>& Losses() const { return losses_; }

  private:
    // Reused from line to line so that building a line allocates nothing.
    std::string line_;
    std::string next_;  // a piece that goes in before text placed already
    std::string lost_;
    std::vector<std::string> losses_;
};
