// WexalConduit::WriteException: appends one captured meter to the
// exceptions-capture file.
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
    const std::int32_t written = file.Write(FormatExceptionLine(meter));
    const std::int32_t closed = file.Close();
    return written == 0 && closed == 0 ? 0 : -1;
}
