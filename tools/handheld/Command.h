// The `handheld` tool's commands: `handheld DIR COMMAND [ARGS...]`.
//
// Each group of commands lives in a file of its own that defines one
// `void AddXxxCommands(std::vector<Command>&)`. To add a group: declare its
// function below, call it from AllCommands() in CommandTable.cpp and list the
// file in tools/handheld/CMakeLists.txt.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

namespace wexal::palm {
class HandheldStore;
struct PdbDatabase;
}  // namespace wexal::palm

namespace wexal::handheld {

// Wrong arguments: the tool prints the message and the command's usage, exit 2.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Any other failure: the tool prints "handheld: " + message, exit 1.
class CommandError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct CommandContext {
    std::filesystem::path dir;      // the handheld folder
    std::vector<std::string> args;  // the arguments after the command name
    std::ostream& out;
    std::ostream& err;
};

struct Command {
    std::string name;
    std::string usage;    // arguments after the name, e.g. "NAME [--words N]"
    std::string summary;  // one line for the help text
    // Returns the exit status; throws UsageError or CommandError (a
    // wexal::palm::StoreError is reported like a CommandError).
    std::function<int(CommandContext&)> run;
};

// Command groups.
void AddBasicCommands(std::vector<Command>& commands);    // list, dump, user, init
void AddLayoutCommands(std::vector<Command>& commands);   // show
void AddReadingCommands(std::vector<Command>& commands);  // read

// Every command, in help order.
const std::vector<Command>& AllCommands();

// The whole tool: argv as main receives it. Returns the exit status.
int RunTool(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// Small helpers for commands.

// Pulls "--name VALUE" out of args (removes both); nullopt-like empty result
// is signalled by returning false.
bool TakeOption(std::vector<std::string>& args, const std::string& name, std::string* value);
// Parses a non-negative decimal number or throws UsageError mentioning `what`.
unsigned long ParseCount(const std::string& text, const std::string& what);
// Throws UsageError when arguments are left over (an unknown option first).
void RejectLeftoverArgs(const CommandContext& c);
// The command's handheld folder; CommandError "no handheld folder" when missing.
wexal::palm::HandheldStore OpenHandheld(const CommandContext& c);
// A whole database; CommandError "no database" when there is none of that name.
wexal::palm::PdbDatabase LoadDatabase(const CommandContext& c,
                                      const wexal::palm::HandheldStore& store,
                                      const std::string& name);

}  // namespace wexal::handheld
