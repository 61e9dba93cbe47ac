#include "conduit/SetReaderRoute.h"

#include "conduit/HHReader.h"
#include "platform/palm/SyncManager.h"

std::int32_t SetReaderRoute(const std::string& route) {
    HHReader reader;
    if (reader.Open() == 0) {
        return 1;
    }
    if (reader.RecordCount() == 0) {
        reader.Clear();
    } else if (reader.ReadByIndex(0) != kSyncErrNone) {
        // Writing now would add a second settings record beside the one that
        // could not be read.
        reader.Close();
        return 1;
    }
    reader.CurrentRoute = route;
    reader.Write();
    reader.Close();
    return 1;
}
