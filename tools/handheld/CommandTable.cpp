#include <cerrno>
#include <cstdlib>
#include <ostream>

#include "platform/palm/HandheldStore.h"
#include "tools/handheld/Command.h"

namespace wexal::handheld {

const std::vector<Command>& AllCommands() {
    static const std::vector<Command> commands = [] {
        std::vector<Command> all;
        AddBasicCommands(all);
        AddLayoutCommands(all);
        AddReadingCommands(all);
        // Further groups go here.
        return all;
    }();
    return commands;
}

bool TakeOption(std::vector<std::string>& args, const std::string& name, std::string* value) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == name) {
            if (i + 1 >= args.size()) {
                throw UsageError(name + " needs a value");
            }
            *value = args[i + 1];
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                       args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            return true;
        }
        const std::string prefix = name + "=";
        if (args[i].rfind(prefix, 0) == 0) {
            *value = args[i].substr(prefix.size());
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
    }
    return false;
}

unsigned long ParseCount(const std::string& text, const std::string& what) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        throw UsageError(what + " must be a number: " + text);
    }
    errno = 0;
    unsigned long value = std::strtoul(text.c_str(), nullptr, 10);
    if (errno != 0) {
        throw UsageError(what + " is too large: " + text);
    }
    return value;
}

void RejectLeftoverArgs(const CommandContext& c) {
    for (const std::string& a : c.args) {
        if (a.rfind("--", 0) == 0) {
            throw UsageError("unknown option " + a);
        }
    }
    if (!c.args.empty()) {
        throw UsageError("unexpected argument \"" + c.args.front() + "\"");
    }
}

wexal::palm::HandheldStore OpenHandheld(const CommandContext& c) {
    try {
        return wexal::palm::HandheldStore::Open(c.dir);
    } catch (const wexal::palm::StoreError&) {
        throw CommandError("no handheld folder " + c.dir.string());
    }
}

wexal::palm::PdbDatabase LoadDatabase(const CommandContext& c,
                                      const wexal::palm::HandheldStore& store,
                                      const std::string& name) {
    using wexal::palm::StoreError;
    try {
        return store.Load(name);
    } catch (const StoreError& e) {
        if (e.kind() == StoreError::Kind::NotFound || e.kind() == StoreError::Kind::BadName) {
            throw CommandError("no database \"" + name + "\" in " + c.dir.string());
        }
        throw;
    }
}

namespace {

bool IsHelp(const std::string& arg) {
    return arg == "--help" || arg == "-h" || arg == "help";
}

void PrintCommandUsage(std::ostream& os, const Command& command) {
    os << "usage: handheld DIR " << command.name
       << (command.usage.empty() ? "" : " " + command.usage) << "\n";
}

void PrintUsage(std::ostream& os) {
    os << "usage: handheld DIR COMMAND [ARGS...]\n\n"
       << "DIR is the folder of one simulated handheld. Commands:\n";
    for (const Command& c : AllCommands()) {
        std::string line = "  " + c.name + (c.usage.empty() ? "" : " " + c.usage);
        os << line;
        if (line.size() < 34) {
            os << std::string(34 - line.size(), ' ');
        } else {
            os << "\n" << std::string(34, ' ');
        }
        os << c.summary << "\n";
    }
}

}  // namespace

int RunTool(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    // Help is asked for in the place of the folder or of the command.
    if ((!args.empty() && IsHelp(args[0])) || (args.size() == 2 && IsHelp(args[1]))) {
        PrintUsage(out);
        return 0;
    }
    if (args.size() < 2) {
        PrintUsage(err);
        return 2;
    }
    const std::string commandName = args[1];
    const Command* command = nullptr;
    for (const Command& c : AllCommands()) {
        if (c.name == commandName) {
            command = &c;
        }
    }
    if (command == nullptr) {
        err << "handheld: unknown command \"" << commandName << "\"\n";
        PrintUsage(err);
        return 2;
    }
    if (args.size() == 3 && (args[2] == "--help" || args[2] == "-h")) {
        PrintCommandUsage(out, *command);
        out << "  " << command->summary << "\n";
        return 0;
    }
    CommandContext context{args[0], std::vector<std::string>(args.begin() + 2, args.end()), out,
                           err};
    try {
        return command->run(context);
    } catch (const UsageError& e) {
        err << "handheld: " << e.what() << "\n";
        PrintCommandUsage(err, *command);
        return 2;
    } catch (const CommandError& e) {
        err << "handheld: " << e.what() << "\n";
        return 1;
    } catch (const wexal::palm::StoreError& e) {
        err << "handheld: " << e.what() << "\n";
        return 1;
    } catch (const std::exception& e) {
        err << "handheld: " << e.what() << "\n";
        return 1;
    }
}

}  // namespace wexal::handheld
