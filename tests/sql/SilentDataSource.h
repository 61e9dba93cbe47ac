// A data source whose server accepts connections and never answers, as a
// database host that hangs does: a listening socket on the loopback, for
// which the kernel completes every connection while nobody reads or writes.
#pragma once

#include <memory>
#include <string>

#include "tests/support/TempDir.h"

namespace wexal::testing {

class SilentDataSource {
  public:
    // The data source "Silent" is known, next to those that were, while the
    // object lives.
    SilentDataSource();
    ~SilentDataSource();
    SilentDataSource(const SilentDataSource&) = delete;
    SilentDataSource& operator=(const SilentDataSource&) = delete;

    static constexpr const char* kName = "Silent";

  private:
    int socket_ = -1;
    TempDir dir_;
    std::unique_ptr<ScopedEnv> odbcIni_;
};

}  // namespace wexal::testing
