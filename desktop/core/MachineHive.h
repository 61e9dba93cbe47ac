// HKEY_LOCAL_MACHINE: only the key SOFTWARE\ODBC\ODBC.INI, whose subkeys are
// the data sources that the ODBC driver manager offers this user, and nothing
// that may be changed. A name that holds a backslash cannot be a key name and
// is left out; when the driver manager cannot be started the key has no
// subkeys.
#pragma once

#include <memory>

#include "desktop/core/RegistryHive.h"

std::unique_ptr<RegistryHive> MakeMachineHive();
