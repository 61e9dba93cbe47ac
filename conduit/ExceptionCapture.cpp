// WexalConduit::WriteException: appends one captured meter to the
// exceptions-capture file.
#include <filesystem>
#include <system_error>

#include "conduit/ExceptionLine.h"
#include "conduit/HHException.h"
#include "conduit/HHMeter.h"
#include "conduit/WexalConduit.h"

std::int32_t WexalConduit::WriteException(const HHMeter& meter, std::string path) {
    // Opened and closed per meter, so each line is on disk before the next
    // meter is handled.
    HHException file;
    if (file.Open(path) != 0) {
        return -1;
    }
    std::error_code sizeError;
    const std::uintmax_t before = std::filesystem::file_size(path, sizeError);
    const std::int32_t written = file.Write(FormatExceptionLine(meter));
    const std::int32_t closed = file.Close();
    if (written == 0 && closed == 0) {
        return 0;
    }
    // Part of a line may have reached a nearly full disk: the lines of later
    // captures would follow it out of their columns.
    std::error_code error;
    if (!sizeError && std::filesystem::file_size(path, error) > before && !error) {
        std::filesystem::resize_file(path, before, error);
    }
    return -1;
}
