// Every billing vendor's route-file reader on any file: the first input byte
// picks the vendor (by its place in the vendor table), the rest is the route
// file, read to its end as the download does.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "conduit/TextFileVendors.h"
#include "conduit/formats/CodecField.h"
#include "conduit/formats/VendorMeter.h"
#include "fuzz/ScratchFolder.h"

namespace {

// A field that the vendor's layout does not fill stays empty, whatever the
// file holds.
void CheckFields(const VendorMeter& meter) {
    for (std::size_t i = 0; i < kCodecFieldCount; ++i) {
        const auto field = static_cast<CodecField>(i);
        if (!meter.HasField(field) && !meter.Field(field).empty()) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const auto vendors = text_file_vendors::All();
    const TextFileVendor& vendor = *vendors[data[0] % vendors.size()];
    const auto path = wexal::fuzz::WriteScratchFile("route.txt", data + 1, size - 1);

    const std::unique_ptr<VendorMeter> meter = vendor.makeMeter();
    if (meter->Open(path.string()) != 0) {
        std::abort();  // the file was just written
    }
    // Each record gives at least one line end or the end of the file, so a
    // file of n bytes holds at most n + 1 records; more means a loop.
    std::size_t records = 0;
    while (meter->Read() == VendorMeter::kRecordRead) {
        CheckFields(*meter);
        if (++records > size) {
            std::abort();
        }
    }
    meter->Close();
    return 0;
}
