#include "platform/ado/ObjectFactory.h"

#include <array>
#include <mutex>
#include <new>

#include "platform/ado/AdoError.h"
#include "platform/ado/Command.h"
#include "platform/ado/Connection.h"
#include "platform/ado/Recordset.h"

namespace wexal::ado {
namespace {

constexpr std::int32_t kOutOfMemory = FailureCode(0x8007000E);

struct Timeouts {
    std::int32_t connection = kDefaultConnectionTimeout;
    std::int32_t command = kDefaultCommandTimeout;
};

struct Availability {
    std::mutex mutex;
    std::array<std::int32_t, 3> failure{};  // per class: 0, or the code to fail with
    Timeouts timeouts;
};

Availability& TheAvailability() {
    static Availability availability;
    return availability;
}

std::int32_t& FailureOf(ObjectClass objectClass) {
    return TheAvailability().failure[static_cast<std::size_t>(objectClass)];
}

std::int32_t Unavailable(ObjectClass objectClass) {
    std::lock_guard lock(TheAvailability().mutex);
    return FailureOf(objectClass);
}

Timeouts CurrentTimeouts() {
    std::lock_guard lock(TheAvailability().mutex);
    return TheAvailability().timeouts;
}

void SetTimeouts(Timeouts timeouts) {
    std::lock_guard lock(TheAvailability().mutex);
    TheAvailability().timeouts = timeouts;
}

// Makes the object, turning the failures of its construction into codes.
template <class Pointer, class Make>
std::int32_t Create(ObjectClass objectClass, Pointer& object, Make make) {
    object.reset();
    if (const std::int32_t code = Unavailable(objectClass)) {
        return code;
    }
    try {
        object = make();
        return 0;
    } catch (const AdoError& error) {
        return error.Code();
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
}

}  // namespace

std::int32_t CreateInstance(std::shared_ptr<Connection>& object) {
    return Create(ObjectClass::Connection, object, [] {
        auto connection = std::make_shared<Connection>();
        const Timeouts timeouts = CurrentTimeouts();
        connection->SetConnectionTimeout(timeouts.connection);
        connection->SetCommandTimeout(timeouts.command);
        return connection;
    });
}

std::int32_t CreateInstance(std::unique_ptr<Command>& object) {
    return Create(ObjectClass::Command, object, [] {
        auto command = std::make_unique<Command>();
        command->SetCommandTimeout(CurrentTimeouts().command);
        return command;
    });
}

std::int32_t CreateInstance(std::unique_ptr<Recordset>& object) {
    return Create(ObjectClass::Recordset, object, [] { return std::make_unique<Recordset>(); });
}

UnavailableClass::UnavailableClass(ObjectClass objectClass, std::int32_t code)
    : objectClass_(objectClass) {
    std::lock_guard lock(TheAvailability().mutex);
    FailureOf(objectClass_) = code;
}

UnavailableClass::~UnavailableClass() {
    std::lock_guard lock(TheAvailability().mutex);
    FailureOf(objectClass_) = 0;
}

ShortenedTimeouts::ShortenedTimeouts(std::int32_t connectionSeconds, std::int32_t commandSeconds) {
    SetTimeouts({connectionSeconds, commandSeconds});
}

ShortenedTimeouts::~ShortenedTimeouts() {
    SetTimeouts({});
}

}  // namespace wexal::ado
