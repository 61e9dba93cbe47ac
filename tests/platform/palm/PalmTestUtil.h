// Helpers shared by the palm tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/palm/SyncManager.h"

namespace wexal::palm::testing {

std::vector<uint8_t> Bytes(const std::string& text);

// Creates database `name` (creator TLWX, type DATA) in an open session and
// returns its handle; fails the test on error.
uint8_t CreateDb(const std::string& name, uint16_t version = 0);

// Adds a record (id 0) and returns its new id; 0 on failure.
uint32_t AddRecord(uint8_t handle, const std::string& bytes, int16_t category = 0);

// The record at `index` (512-byte buffer); empty optional-like: `ok` false.
struct ReadResult {
    int32_t code = 0;
    uint32_t id = 0;
    uint8_t attributes = 0;
    std::string bytes;
};
ReadResult ReadByIndex(uint8_t handle, uint16_t index, uint16_t bufferSize = 512);

// Runs a shell command line; returns its exit status and its standard output
// and error, merged.
struct CommandResult {
    int status = -1;
    std::string output;
};
CommandResult RunCommand(const std::string& commandLine);
std::string ShellQuote(const std::string& text);

}  // namespace wexal::palm::testing
