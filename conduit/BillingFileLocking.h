// The billing-file lock (platform/billingfile) as a sync takes it, with its
// wait and its failure in the sync log.
#pragma once

#include <string>

#include "platform/billingfile/BillingFileLock.h"

// Holds the lock of `file`, waiting while another sync or program holds it
// (logged). False when it cannot be taken (logged, activity 17): nothing may
// then be written into the file.
bool LockBillingFile(wexal::billingfile::BillingFileLock& lock, const std::string& file);
