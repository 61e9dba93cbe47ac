// Builds the characters of one readings line before its line end.
//
// Pieces are inserted in ascending column order into a line of blanks, each
// at its own column: a piece no longer than the room before the next piece
// lands there followed by blanks; a longer one pushes what follows it to
// the right. The line end goes in at column L - 1 and cuts the rest.
#pragma once

#include <string>

class VendorReading;
struct ReadingLayout;

class LineAssembler {
  public:
    // The L - 1 characters before the line end; valid until the next call.
    const std::string& Assemble(const ReadingLayout& layout, const VendorReading& codec);

  private:
    // Reused from line to line so that building a line allocates nothing.
    std::string line_;
    std::string pending_;  // inserted text not yet placed, blanks implied after it
    std::string next_;
};
