// show: records as the named fields of the handheld application's layouts.
#include <cstdio>
#include <ostream>

#include "platform/palm/HandheldStore.h"
#include "platform/palm/PdbFile.h"
#include "tools/handheld/Command.h"
#include "tools/handheld/Format.h"
#include "tools/handheld/RecordLayouts.h"

namespace wexal::handheld {

namespace {

std::string WordText(uint16_t word) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%u (0x%04X)", static_cast<unsigned>(word),
                  static_cast<unsigned>(word));
    return buf;
}

std::string FieldValue(const DecodedField& f) {
    switch (f.state) {
        case DecodedField::State::Missing:
            return "(missing)";
        case DecodedField::State::Incomplete:
            return f.isWord ? "(incomplete: 1 byte " + QuoteText(f.bytes) + ")"
                            : QuoteText(f.bytes) + " (no NUL: the record ends)";
        case DecodedField::State::Present:
            break;
    }
    return f.isWord ? WordText(f.word) : QuoteText(f.bytes);
}

const RecordLayout& ChooseLayout(const std::string& databaseName, const std::string& option,
                                 bool given) {
    const RecordLayout* layout = given ? FindLayout(option) : LayoutForDatabase(databaseName);
    if (layout != nullptr) {
        return *layout;
    }
    if (given) {
        throw UsageError("unknown layout \"" + option + "\"; use " + LayoutNames());
    }
    throw UsageError("no layout for database \"" + databaseName + "\"; give --layout " +
                     LayoutNames());
}

int Show(CommandContext& c) {
    std::string layoutName;
    bool layoutGiven = TakeOption(c.args, "--layout", &layoutName);
    if (c.args.empty() || c.args.front().rfind("--", 0) == 0) {
        RejectLeftoverArgs(c);  // an unknown option is the clearer complaint
        throw UsageError("missing database name");
    }
    std::string name = c.args.front();
    c.args.erase(c.args.begin());
    RejectLeftoverArgs(c);
    const RecordLayout& layout = ChooseLayout(name, layoutName, layoutGiven);

    wexal::palm::HandheldStore store = OpenHandheld(c);
    wexal::palm::PdbDatabase db = LoadDatabase(c, store, name);
    c.out << "Database " << QuoteText(db.header.name) << ": " << db.records.size()
          << (db.records.size() == 1 ? " record" : " records") << ", layout " << layout.name << " ("
          << layout.description << ")\n";
    for (std::size_t i = 0; i < db.records.size(); ++i) {
        const wexal::palm::PdbRecord& r = db.records[i];
        char id[16];
        std::snprintf(id, sizeof id, "0x%06X", static_cast<unsigned>(r.uniqueId));
        c.out << "index " << i << " (id " << id << ")\n";
        DecodedLayoutRecord decoded = DecodeWithLayout(layout, r.data);
        for (const DecodedField& f : decoded.fields) {
            c.out << "  " << f.name << ": " << FieldValue(f) << "\n";
        }
        if (!decoded.rest.empty()) {
            c.out << "  after the last field: " << decoded.rest.size()
                  << (decoded.rest.size() == 1 ? " byte " : " bytes ") << QuoteText(decoded.rest)
                  << "\n";
        }
    }
    return 0;
}

}  // namespace

void AddLayoutCommands(std::vector<Command>& commands) {
    commands.push_back({"show", "NAME [--layout " + LayoutNames() + "]",
                        "records as named fields; the layout follows the name (readerDB, rcodesDB, "
                        "routeDB, route*)",
                        Show});
}

}  // namespace wexal::handheld
