#pragma once
// Error numbers that the in-process class layer raises as platform::Error,
// with the numbers callers show ("429 - ActiveX component can't create object").

#include <QString>

namespace platform {

inline constexpr int ErrTypeMismatch = 13;
inline constexpr int ErrObjectNotSet = 91;
inline constexpr int ErrCannotCreateObject = 429;
inline constexpr int ErrObjectRequired = 424;
inline constexpr int ErrMemberNotFound = 438;
inline constexpr int ErrAutomation = 440;
inline constexpr int ErrWrongArguments = 450;

// The description that goes with one of the numbers above.
QString ComErrorDescription(int number);

// Throws platform::Error with the number, its description and the source.
[[noreturn]] void RaiseComError(int number, const QString& source = QString());

}  // namespace platform
