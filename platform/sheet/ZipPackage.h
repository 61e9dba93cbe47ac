// The zip container of a workbook, held in memory. Parts are read by name;
// a rewrite gives the bytes of a new container in which only the named parts
// differ, every other entry copied as it was.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

typedef struct zip zip_t;

namespace wexal::sheet {

class ZipPackage {
  public:
    // The most bytes a part may inflate to. Real workbooks stay far below;
    // a zip bomb (a few MB whose sheet inflates to gigabytes) does not.
    static constexpr std::uint64_t kMaxPartBytes = std::uint64_t{512} << 20;

    // Throws SheetError when the bytes are no zip archive. Parts above
    // `maxPartBytes` are refused by Read.
    explicit ZipPackage(std::string bytes, std::uint64_t maxPartBytes = kMaxPartBytes);
    ~ZipPackage();
    ZipPackage(const ZipPackage&) = delete;
    ZipPackage& operator=(const ZipPackage&) = delete;

    // Part names compare without regard to case, as the package format says.
    bool Has(const std::string& name) const;
    // Nothing when there is no such part; throws SheetError when it is
    // damaged, or (kErrorPartTooLarge) when it says or turns out to inflate
    // to more than the most a part may hold: the sizes a zip declares may lie.
    std::optional<std::string> Read(const std::string& name) const;

    // New container bytes: `replacements` replace (or add) parts, `removals`
    // are left out, all else keeps its entry unchanged.
    std::string Rewrite(const std::map<std::string, std::string>& replacements,
                        const std::set<std::string>& removals) const;

  private:
    std::string bytes_;
    std::uint64_t maxPartBytes_;
    zip_t* archive_ = nullptr;
};

}  // namespace wexal::sheet
