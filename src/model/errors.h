#pragma once
// One error type for everything that ends a command: its text is exactly what
// the error box shows (before the full-stop rule is applied).
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace rq {

// Where in the project a fault was found: the file (or the folder, for a
// save refused there), the line, the segment's title and the key. Any part
// may be missing.
struct ErrorPlace {
    std::string file;
    long long line = 0;   // 1 for the file's first line; 0 when unknown
    std::string segment;  // the segment's title
    std::string key;      // "encode_first", "reduction", ...
    std::string note;     // what the file or folder is, such as "the folder is read-only"

    bool Empty() const { return file.empty() && line == 0 && segment.empty() && key.empty() && note.empty(); }
};

// "in /discs/FILM/REBUILDER.ECL, line 57, segment v02pgc1_0, key encode_first";
// empty for an empty place.
std::string PlaceText(const ErrorPlace& place);

class AppError : public std::runtime_error {
public:
    // file: for an input/output error, the file it concerns.
    explicit AppError(const std::string& text, const std::string& file = {})
        : AppError(text, ErrorPlace{file, 0, {}, {}, {}})
    {
    }
    AppError(const std::string& text, ErrorPlace place)
        : std::runtime_error(text), what_(std::make_shared<const What>(What{text, std::move(place)}))
    {
    }
    // The whole text. what() ends at the first NUL byte, and a value quoted
    // from a project file may hold one.
    const std::string& Text() const { return what_->text; }
    // The file an input/output error concerns; empty for other errors.
    const std::string& File() const { return what_->place.file; }
    const ErrorPlace& Place() const { return what_->place; }
    // The same error, found at place.
    AppError At(ErrorPlace place) const { return AppError(Text(), std::move(place)); }

private:
    struct What {
        std::string text;
        ErrorPlace place;
    };
    std::shared_ptr<const What> what_;  // shared: copying an exception must not throw
};

// The file an error concerns, when it is an input/output error about one.
std::string ErrorFile(const std::exception& e);
// Where the error was found, as PlaceText gives it; empty when unknown.
std::string ErrorPlaceText(const std::exception& e);

// What the user is told when memory ran out, whatever was asked for.
inline constexpr const char* kNotEnoughMemory = "Not enough memory to finish the command";

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
// The one spelling of an error without a code of its own: "I/O error <code>".
// A file operation's error (platform/file_error.h) turns an errno into text.
std::string UnmappedIoErrorText(int code);

}  // namespace rq
