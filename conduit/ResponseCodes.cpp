// WexalConduit::WriteResponseCodes: rebuilds "rcodesDB" from the codes of the
// configuration.
#include <algorithm>
#include <cstddef>

#include "conduit/HHCodes.h"
#include "conduit/WexalConduit.h"
#include "conduit/WexalConfig.h"
#include "conduit/formats/AnsiText.h"

std::int32_t WexalConduit::WriteResponseCodes(const WexalConfig& config) {
    HHCodes codes;
    codes.DeleteDB();
    if (codes.Open() == 0) {
        return 1;
    }
    // An old database that could not be deleted would get every code twice.
    if (codes.RecordCount() != 0) {
        LogHandheldError("Unable to delete rcodesDB; response codes not written");
        codes.Close();
        return 1;
    }
    const std::size_t last =
        std::min<std::size_t>(config.ResponseCount, config.Response.size() - 1);
    for (std::size_t i = 1; i <= last; ++i) {
        codes.Clear();
        // The configuration is UTF-8; the handheld knows Windows-1252 only.
        codes.Code = ConfigTextToAnsi(config.Response[i]);
        codes.Text = ConfigTextToAnsi(config.ResponseText[i]);
        codes.Write();
    }
    codes.Close();
    return 1;
}
