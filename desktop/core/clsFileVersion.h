// The file version of a program or library of this project, as a.b.c.d: read
// from the version note that the build stamps into it (ElfVersionNote.h).
#pragma once

#include <cstdint>
#include <string>

class clsFileVersion {
  public:
    // The version of the file, or "Not Found" when it is missing, is not a
    // regular file, or carries no sound version note.
    std::string GetVersion(const std::string& NewFileName);

  private:
    // Keeps the words of the file's note; false, and the words of an earlier
    // file kept, when there is none.
    bool LoadVersionInfo(const std::string& path);
    // The high 16 bits "." the low 16 bits, both unsigned decimal.
    static std::string FormatVersionWord(std::uint32_t word);

    std::uint32_t dwFileVersionMS = 0;
    std::uint32_t dwFileVersionLS = 0;
};
