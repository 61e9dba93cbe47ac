// The data sources that the ODBC driver manager offers this user.
#pragma once

#include <string>
#include <vector>

namespace wexal::ado {

// The names of the user data sources (unixODBC: those of the file $ODBCINI,
// else ~/.odbc.ini) in file order, then those of the system, as the driver
// manager lists them; each name is the bytes of its file. Throws AdoError
// when the driver manager cannot be started.
std::vector<std::string> DataSourceNames();

}  // namespace wexal::ado
