// Stands in for SyncReadRecordByIndex of the sync library: the test program's
// definition takes precedence and passes every call on to the library's own,
// found with dlsym(RTLD_NEXT), unless a FailingRead says otherwise.
#include "tests/conduit/ReadFaults.h"

#include <dlfcn.h>

#include <cstdlib>
#include <optional>

#include "platform/palm/SyncManager.h"

namespace {

struct Fault {
    std::uint16_t index;
    std::int32_t code;
};

std::optional<Fault> g_fault;

using ReadFunction = int32_t (*)(SyncRawRecord*);

ReadFunction LibraryRead() {
    static const auto read =
        reinterpret_cast<ReadFunction>(dlsym(RTLD_NEXT, "SyncReadRecordByIndex"));
    if (read == nullptr) {
        std::abort();
    }
    return read;
}

}  // namespace

namespace wexal::testing {

FailingRead::FailingRead(std::uint16_t index, std::int32_t code) {
    g_fault = Fault{index, code};
}

FailingRead::~FailingRead() {
    g_fault.reset();
}

}  // namespace wexal::testing

extern "C" int32_t SyncReadRecordByIndex(SyncRawRecord* record) {
    if (g_fault && record != nullptr && record->index == g_fault->index) {
        return g_fault->code;
    }
    return LibraryRead()(record);
}
