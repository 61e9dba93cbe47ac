#include "platform/ado/DataSources.h"

#include "platform/ado/OdbcStatement.h"

namespace wexal::ado {

std::vector<std::string> DataSourceNames() {
    odbc::Handle environment(SQL_HANDLE_ENV, SQLHANDLE{SQL_NULL_HANDLE});
    environment.Check(SQLSetEnvAttr(environment.get(), SQL_ATTR_ODBC_VERSION,
                                    reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0));
    std::vector<std::string> names;
    // Far above the driver manager's own limit on a section name, so that no
    // name comes back cut.
    SQLCHAR name[1024];
    SQLCHAR description[1024];
    for (SQLUSMALLINT direction = SQL_FETCH_FIRST;; direction = SQL_FETCH_NEXT) {
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT descriptionLength = 0;
        const SQLRETURN result =
            SQLDataSources(environment.get(), direction, name, sizeof name, &nameLength,
                           description, sizeof description, &descriptionLength);
        if (result == SQL_NO_DATA) {
            break;
        }
        environment.Check(result);
        names.emplace_back(reinterpret_cast<const char*>(name));
    }
    return names;
}

}  // namespace wexal::ado
