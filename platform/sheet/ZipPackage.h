// The zip container of a workbook, held in memory. Parts are read by name;
// a rewrite gives the bytes of a new container in which only the named parts
// differ, every other entry copied as it was.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

typedef struct zip zip_t;

namespace wexal::sheet {

class ZipPackage {
  public:
    // Throws SheetError when the bytes are no zip archive.
    explicit ZipPackage(std::string bytes);
    ~ZipPackage();
    ZipPackage(const ZipPackage&) = delete;
    ZipPackage& operator=(const ZipPackage&) = delete;

    // Part names compare without regard to case, as the package format says.
    bool Has(const std::string& name) const;
    // Nothing when there is no such part; throws SheetError when it is damaged.
    std::optional<std::string> Read(const std::string& name) const;

    // New container bytes: `replacements` replace (or add) parts, `removals`
    // are left out, all else keeps its entry unchanged.
    std::string Rewrite(const std::map<std::string, std::string>& replacements,
                        const std::set<std::string>& removals) const;

  private:
    std::string bytes_;
    zip_t* archive_ = nullptr;
};

}  // namespace wexal::sheet
