#include "desktop/core/MachineHive.h"

#include "desktop/core/ReadOnlyHive.h"

#include "platform/ado/AdoError.h"
#include "platform/ado/DataSources.h"

std::unique_ptr<RegistryHive> MakeMachineHive() {
    return std::make_unique<ReadOnlyHive>([] {
        const std::string sources = "SOFTWARE\\ODBC\\ODBC.INI";
        std::vector<std::string> keys{sources};
        try {
            for (const std::string& name : wexal::ado::DataSourceNames()) {
                if (!name.empty() && name.find('\\') == std::string::npos) {
                    keys.push_back(sources + "\\" + name);
                }
            }
        } catch (const wexal::ado::AdoError&) {
            // No driver manager: no data sources.
        }
        return keys;
    });
}
