// The keys of the readings file: the first 17 bytes of each of its lines. A
// captured meter whose key is among them was read after all (its reading went
// to the billing system), so the report does not count it as missed.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

namespace wexal::desktop {

class ReadingsKeys {
  public:
    // Every line of the file at `path`. Throws std::runtime_error when it
    // cannot be read.
    static ReadingsKeys Load(const std::string& path);

    // The key of one line (its end already removed); a repeated key changes
    // nothing.
    void Add(std::string_view line);

    // Whether a line began with `key`, letters compared without regard to
    // case. An empty key is never present.
    bool Present(std::string_view key) const;

  private:
    std::unordered_set<std::string> keys_;  // letters folded to upper case
};

}  // namespace wexal::desktop
