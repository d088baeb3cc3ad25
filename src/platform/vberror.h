#pragma once
// Run-time failures raised by the platform layer and passed to callers.
// Every failure carries the numeric code the program's handlers look at
// (32755 a cancelled dialog, 6 overflow, 13 type mismatch, 53 file not found, ...).

#include <QString>
#include <stdexcept>

namespace platform {

namespace vberr {
constexpr int InvalidProcedureCall = 5;
constexpr int Overflow = 6;
constexpr int SubscriptOutOfRange = 9;
constexpr int DivisionByZero = 11;
constexpr int TypeMismatch = 13;
constexpr int BadFileNameOrNumber = 52;
constexpr int FileNotFound = 53;
constexpr int BadFileMode = 54;
constexpr int InputPastEnd = 62;
constexpr int PathFileAccess = 75;
constexpr int PathNotFound = 76;
constexpr int InvalidPropertyValue = 380;
constexpr int ObjectDoesNotSupport = 438; // e.g. reading cells of a chart sheet
constexpr int ServerUnavailable = 462;    // a closed workbook or a quit spreadsheet service
constexpr int PrinterError = 482;
constexpr int ApplicationDefined = 1004; // a workbook that cannot be opened
constexpr int CancelError = 32755;
} // namespace vberr

class VbError : public std::runtime_error {
public:
    VbError(int number, const QString &description)
        : std::runtime_error(description.toStdString()), number_(number), description_(description)
    {
    }
    int number() const { return number_; }
    const QString &description() const { return description_; }

private:
    int number_;
    QString description_;
};

// Every failure to open, read, write, rename or delete a file.
class FileError : public VbError {
public:
    using VbError::VbError;
};

} // namespace platform
