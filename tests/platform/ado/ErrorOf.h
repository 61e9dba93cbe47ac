// The AdoError that a call raises, for checks of its code and text.
#pragma once

#include <gtest/gtest.h>

#include "platform/ado/AdoError.h"

namespace wexal::testing {

template <class Call>
ado::AdoError ErrorOf(Call call) {
    try {
        call();
    } catch (const ado::AdoError& error) {
        return error;
    }
    ADD_FAILURE() << "no AdoError raised";
    return ado::AdoError(0, u"none");
}

}  // namespace wexal::testing
