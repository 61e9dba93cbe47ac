// A billing text file read line by line, each line with the bytes that end it
// (CR LF, a lone CR or a lone LF), so that a line can be written back exactly
// as it stood. A line end at the very end of the file starts no further line.
// Only a regular file is read: a FIFO would hold the window until some writer
// came, and a device such as /dev/zero is one endless line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wexal::desktop {

class TextFileLines {
  public:
    // Throws std::runtime_error ("Cannot open <path>: <reason>") when the file
    // cannot be opened for reading or is not a regular file.
    explicit TextFileLines(const std::string& path);
    ~TextFileLines();
    TextFileLines(const TextFileLines&) = delete;
    TextFileLines& operator=(const TextFileLines&) = delete;

    // The next line with its end; false at the end of the file. Throws
    // std::runtime_error when the file cannot be read.
    bool Next(std::string& line);

  private:
    // False at the end of the file.
    bool Fill();

    std::string path_;
    int fd_ = -1;
    std::vector<char> buffer_;
    std::size_t start_ = 0;
    std::size_t end_ = 0;
};

// The line without the bytes that end it.
std::string_view WithoutLineEnd(std::string_view line);

}  // namespace wexal::desktop
