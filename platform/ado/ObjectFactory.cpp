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

struct Availability {
    std::mutex mutex;
    std::array<std::int32_t, 3> failure{};  // per class: 0, or the code to fail with
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
    return Create(ObjectClass::Connection, object, [] { return std::make_shared<Connection>(); });
}

std::int32_t CreateInstance(std::unique_ptr<Command>& object) {
    return Create(ObjectClass::Command, object, [] { return std::make_unique<Command>(); });
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

}  // namespace wexal::ado
