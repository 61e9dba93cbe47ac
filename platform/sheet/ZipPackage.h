// The zip container of a workbook, held in memory. Parts are read by name;
// a rewrite gives the bytes of a new container in which only the named parts
// differ, every other entry copied as it was.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

typedef struct zip zip_t;
typedef struct zip_file zip_file_t;

namespace wexal::sheet {

// One part of a package, inflated a piece at a time, so that a reader of a
// large part need not hold all of it.
class PartReader {
  public:
    PartReader(zip_file_t* file, std::string name, std::uint64_t declaredSize,
               std::uint64_t maxBytes);
    ~PartReader();
    PartReader(const PartReader&) = delete;
    PartReader& operator=(const PartReader&) = delete;

    // The next piece, valid until the next call; empty at the end. Throws
    // SheetError when the part is damaged, or (kErrorPartTooLarge) when it
    // inflates to more than the most a part may hold.
    std::string_view Next();
    // What the package says that the part inflates to, which may be a lie.
    std::uint64_t DeclaredSize() const { return declaredSize_; }

  private:
    zip_file_t* file_;
    std::string name_;
    std::uint64_t declaredSize_;
    std::uint64_t maxBytes_;
    std::uint64_t read_ = 0;
    std::vector<char> piece_;
};

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
    // The same a piece at a time; null when there is no such part.
    std::unique_ptr<PartReader> OpenPart(const std::string& name) const;

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
