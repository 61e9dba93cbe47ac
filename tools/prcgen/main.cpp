// prcgen OUTPUT VERSION: writes the handheld application stand-in, a Palm
// resource database named "Wexal" (type appl, creator TLWX) whose one
// resource, a string (tSTR 1000), says that it holds no handheld program.
// The desktop queues this file for the handheld units; there is no real
// handheld application in this system.
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/palm/HandheldStore.h"
#include "platform/palm/PdbFile.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: prcgen OUTPUT VERSION\n");
        return 2;
    }
    namespace palm = wexal::palm;
    const std::filesystem::path output = std::filesystem::absolute(argv[1]);
    const std::string text = "Wexal handheld application stand-in " + std::string(argv[2]) +
                             ": it holds no handheld program.";

    palm::PdbDatabase app;
    app.header.name = "Wexal";
    app.header.attributes = palm::kPdbAttrResource;
    app.header.version = 1;
    app.header.creationDate = palm::UnixToPalmTime(std::time(nullptr));
    app.header.modificationDate = app.header.creationDate;
    app.header.type = palm::FourCC("appl");
    app.header.creator = palm::FourCC("TLWX");
    app.resources.push_back({palm::FourCC("tSTR"), 1000, {text.begin(), text.end()}});
    app.resources.back().data.push_back(0);  // a string resource ends in a NUL
    try {
        const std::vector<std::uint8_t> bytes = palm::SerializePdb(app);
        palm::WriteFileAtomically(output.parent_path(), output.filename().string(), bytes.data(),
                                  bytes.size());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "prcgen: %s\n", error.what());
        return 1;
    }
    return 0;
}
