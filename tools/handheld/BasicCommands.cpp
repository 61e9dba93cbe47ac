// list, dump, user, init.
#include <cstdio>
#include <iomanip>
#include <ostream>
#include <sstream>

#include "platform/palm/HandheldStore.h"
#include "platform/palm/PdbFile.h"
#include "tools/handheld/Command.h"
#include "tools/handheld/Format.h"

namespace wexal::handheld {

namespace {

using wexal::palm::HandheldStore;

std::string Hex(unsigned value, int width) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%0*X", width, value);
    return buf;
}

int List(CommandContext& c) {
    RejectLeftoverArgs(c);
    HandheldStore store = OpenHandheld(c);
    std::vector<wexal::palm::DatabaseInfo> dbs = store.List();
    std::size_t width = 4;
    for (const auto& db : dbs) {
        width = std::max(width, db.name.size());
    }
    c.out << std::left << std::setw(static_cast<int>(width)) << "NAME"
          << "  CREATOR  TYPE     RECORDS\n";
    for (const auto& db : dbs) {
        c.out << std::left << std::setw(static_cast<int>(width)) << db.name << "  ";
        if (!db.error.empty()) {
            c.out << "(damaged: " << db.error << ")\n";
            continue;
        }
        c.out << std::left << std::setw(7) << FourCCText(db.creator) << "  " << std::setw(7)
              << FourCCText(db.type) << "  " << std::right << std::setw(7) << db.recordCount
              << "\n";
    }
    return 0;
}

int Dump(CommandContext& c) {
    std::string wordsText;
    bool decode = TakeOption(c.args, "--words", &wordsText);
    std::size_t words = decode ? ParseCount(wordsText, "--words") : 0;
    if (c.args.empty()) {
        throw UsageError("missing database name");
    }
    std::string name = c.args.front();
    c.args.erase(c.args.begin());
    RejectLeftoverArgs(c);

    HandheldStore store = OpenHandheld(c);
    wexal::palm::PdbDatabase db = LoadDatabase(c, store, name);
    const auto& h = db.header;
    c.out << "Database " << QuoteText(h.name) << "\n"
          << "  creator " << FourCCText(h.creator) << "  type " << FourCCText(h.type)
          << "  attributes " << Hex(h.attributes, 4) << "  version " << h.version << "\n"
          << "  created " << UtcText(wexal::palm::PalmToUnixTime(h.creationDate)) << "  modified "
          << UtcText(wexal::palm::PalmToUnixTime(h.modificationDate)) << "  modification number "
          << h.modificationNumber << "\n"
          << "  unique id seed " << h.uniqueIdSeed << "  "
          << (h.IsResourceDatabase() ? "resources " : "records ")
          << (h.IsResourceDatabase() ? db.resources.size() : db.records.size()) << "\n";
    if (!db.appInfo.empty()) {
        c.out << "AppInfo block, " << db.appInfo.size() << " bytes\n" << HexDump(db.appInfo, "  ");
    }
    if (!db.sortInfo.empty()) {
        c.out << "SortInfo block, " << db.sortInfo.size() << " bytes\n"
              << HexDump(db.sortInfo, "  ");
    }
    for (const auto& r : db.resources) {
        c.out << "Resource " << FourCCText(r.type) << " " << r.id << "  size " << r.data.size()
              << "\n"
              << HexDump(r.data, "  ");
    }
    for (std::size_t i = 0; i < db.records.size(); ++i) {
        const auto& r = db.records[i];
        c.out << "Record " << i << "  id " << r.uniqueId << " (" << Hex(r.uniqueId, 6) << ")"
              << "  attributes " << Hex(r.attributes, 2) << "  category "
              << (r.attributes & wexal::palm::kPdbRecAttrCategoryMask) << "  size " << r.data.size()
              << "\n"
              << HexDump(r.data, "  ");
        if (!decode) {
            continue;
        }
        DecodedRecord d = DecodeRecord(r.data, words);
        if (d.tooShort) {
            c.out << "  words: record too short for " << words << " words\n";
            continue;
        }
        if (words > 0) {
            c.out << "  words:";
            for (uint16_t w : d.words) {
                c.out << " " << w;
            }
            c.out << "\n";
        }
        for (std::size_t t = 0; t < d.texts.size(); ++t) {
            c.out << "  text " << t << ": " << QuoteText(d.texts[t]) << "\n";
        }
        if (d.hasTrailing) {
            c.out << "  trailing bytes without NUL: " << QuoteText(d.trailing) << "\n";
        }
    }
    return 0;
}

int User(CommandContext& c) {
    if (c.args.size() > 1) {
        throw UsageError("too many arguments");
    }
    HandheldStore store = OpenHandheld(c);
    if (c.args.empty()) {
        c.out << store.UserName() << "\n";
        return 0;
    }
    const std::string& name = c.args.front();
    if (!HandheldStore::IsValidUserName(name)) {
        throw CommandError("invalid user name: at most " +
                           std::to_string(HandheldStore::kMaxUserName) +
                           " bytes and no line breaks");
    }
    wexal::palm::HandheldLock lock = store.Lock();
    store.SetUserName(name);
    return 0;
}

int Init(CommandContext& c) {
    std::string user;
    TakeOption(c.args, "--user", &user);
    RejectLeftoverArgs(c);
    if (!HandheldStore::IsValidUserName(user)) {
        throw CommandError("invalid user name: at most " +
                           std::to_string(HandheldStore::kMaxUserName) +
                           " bytes and no line breaks");
    }
    HandheldStore::Init(c.dir, user);
    c.out << "Created handheld " << c.dir.string() << " for user " << QuoteText(user) << "\n";
    return 0;
}

}  // namespace

void AddBasicCommands(std::vector<Command>& commands) {
    commands.push_back({"list", "", "databases: name, creator, type, record count", List});
    commands.push_back({"dump", "NAME [--words N]",
                        "records in hex; --words N also decodes N big-endian words + texts", Dump});
    commands.push_back({"user", "[NAME]", "show or set the HotSync user name", User});
    commands.push_back({"init", "[--user NAME]", "create an empty handheld folder", Init});
}

}  // namespace wexal::handheld
