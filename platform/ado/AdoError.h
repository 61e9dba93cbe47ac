// Errors of the database objects: a failure code with the message text that
// goes with it, as a component runtime reports a failed call. The text of a
// failure reported by the ODBC driver is the driver's diagnostic text.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace wexal::ado {

// Failure codes. Their values follow the component runtime's conventions, so
// that a code shown to the user reads as it always has.
constexpr std::int32_t FailureCode(std::uint32_t bits) {
    return static_cast<std::int32_t>(bits);
}
// The driver or the driver manager reported the failure; the message holds
// its diagnostics.
inline constexpr std::int32_t kErrorFailed = FailureCode(0x80004005);
// An object that was never created was used.
inline constexpr std::int32_t kErrorNoObject = FailureCode(0x80004003);
// The class of the object is not available on this machine.
inline constexpr std::int32_t kErrorClassNotAvailable = FailureCode(0x800401F3);
// The collection holds no item of that name.
inline constexpr std::int32_t kErrorNoSuchItem = FailureCode(0x800A0CC1);
// Before the first or after the last row: there is no current row.
inline constexpr std::int32_t kErrorNoCurrentRow = FailureCode(0x800A0BCD);
// The operation needs an open object.
inline constexpr std::int32_t kErrorObjectClosed = FailureCode(0x800A0E78);
// The operation needs an object that is not open yet.
inline constexpr std::int32_t kErrorObjectOpen = FailureCode(0x800A0E79);
// The operation is not allowed in this context.
inline constexpr std::int32_t kErrorNotAllowed = FailureCode(0x800A0C93);

class AdoError : public std::exception {
  public:
    // `message` may be empty: the code then has no text of its own.
    AdoError(std::int32_t code, std::u16string message, std::u16string sqlState = {});

    std::int32_t Code() const { return code_; }
    // The text that came with the failure, as given.
    const std::u16string& Description() const { return message_; }
    // The five-character SQLSTATE of a failure that the driver reported.
    const std::u16string& SqlState() const { return sqlState_; }
    // Whether the database did not answer in time or the connection to it is
    // gone, rather than that it refused the call: a timeout (HYT00, HYT01, or
    // 57014, PostgreSQL's cancel of a statement past its timeout), a
    // connection failure (class 08: psqlODBC says 08S01 for a dropped
    // connection and for every call after it) or the server ending the
    // session (57P01 to 57P03).
    bool IsTimeoutOrLostConnection() const;

    // The message to show for the failure: its text without the final line
    // break; for a code without text "IDispatch error #n" (n the code less
    // 0x80040200) for codes 0x80040201 to 0x8004FFFF, else "Unknown error
    // 0x%0lX".
    std::u16string ErrorMessage() const;

    // The message as UTF-8, for logs and test output.
    const char* what() const noexcept override { return what_.c_str(); }

  private:
    std::int32_t code_;
    std::u16string message_;
    std::u16string sqlState_;
    std::string what_;
};

// UTF-16 to UTF-8, for what() and test output; unpaired surrogates become
// U+FFFD.
std::string ToUtf8(const std::u16string& text);

}  // namespace wexal::ado
