#pragma once
// One error type for everything that ends a command: its text is exactly what
// the error box shows (before the full-stop rule is applied).
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace rq {

class AppError : public std::runtime_error {
public:
    // file: for an input/output error, the file it concerns.
    explicit AppError(const std::string& text, const std::string& file = {})
        : std::runtime_error(text), what_(std::make_shared<const What>(What{text, file}))
    {
    }
    // The whole text. what() ends at the first NUL byte, and a value quoted
    // from a project file may hold one.
    const std::string& Text() const { return what_->text; }
    // The file an input/output error concerns; empty for other errors.
    const std::string& File() const { return what_->file; }

private:
    struct What {
        std::string text;
        std::string file;
    };
    std::shared_ptr<const What> what_;  // shared: copying an exception must not throw
};

// The file an error concerns, when it is an input/output error about one.
std::string ErrorFile(const std::exception& e);

// The text of any error that ends a command.
std::string ErrorText(const std::exception& e);

// The error box appends a full stop when the last character sorts after ".".
std::string WithFullStop(std::string text);

[[noreturn]] void ThrowInvalidFloat(std::string_view text);    // "'%s' is not a valid floating point value"
[[noreturn]] void ThrowInvalidInteger(std::string_view text);  // "'%s' is not a valid integer value"
[[noreturn]] void ThrowDivByZero();                            // "Floating point division by zero"
[[noreturn]] void ThrowInvalidOperation();                     // "Invalid floating point operation"
[[noreturn]] void ThrowOverflow();                             // "Floating point overflow"
[[noreturn]] void ThrowIntegerOverflow();                      // "Integer overflow"

// Input/output errors carry the classic run-time error codes of the encoder's world:
// 2 file not found, 3 invalid filename, 4 too many open files, 5 access denied,
// 100 read beyond end of file, 101 disk full, 106 invalid numeric input.
std::string IoErrorText(int code);
// Maps an operating-system errno onto those codes; -1 when it has none.
int IoCodeFromErrno(int err);
// The error text for an errno: the mapped code's text, else "I/O error <errno>".
std::string IoErrnoText(int err);
[[noreturn]] void ThrowIoError(int code);
[[noreturn]] void ThrowIoErrno(int err);

}  // namespace rq
