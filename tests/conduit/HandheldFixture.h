// A test with a real sync session on a fresh handheld folder, its sync log
// captured, and helpers that put and check record bytes through the sync
// library.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "conduit/WexalConfig.h"
#include "platform/palm/HandheldStore.h"
#include "platform/synclog/SyncLog.h"
#include "tests/support/TempDir.h"

namespace wexal::testing {

// Record bytes: 16-bit words big-endian, texts each with its NUL.
std::string Words(std::initializer_list<std::uint16_t> words);
std::string Texts(std::initializer_list<std::string> texts);

class HandheldFixture : public ::testing::Test {
  protected:
    static constexpr const char* kUserName = "Alice Jones";

    void SetUp() override;
    void TearDown() override;

    // Database facts through the sync library.
    bool Exists(const std::string& name);
    std::uint32_t CountOf(const std::string& name);
    // Every record's bytes, in order; empty when the database is missing.
    std::vector<std::string> Records(const std::string& name);
    // Adds records to the database, creating it (creator TLWX, type DATA).
    void PutRecords(const std::string& name, const std::vector<std::string>& records);

    // This test's sync log entries as "[activity] text".
    std::vector<std::string> LogLines() const;

    // A configuration object with every option off (no configuration file).
    std::unique_ptr<WexalConfig> EmptyConfig() const;

    void CloseSession();
    void ReopenSession();

    TempDir dir_;
    ScopedEnv registry_{"WEXAL_REGISTRY", (dir_ / "registry.reg").string()};
    std::unique_ptr<palm::HandheldStore> store_;
    bool sessionOpen_ = false;
};

}  // namespace wexal::testing
