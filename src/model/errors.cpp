#include "model/errors.h"

#include <cerrno>
#include <new>

namespace rq {

std::string ErrorFile(const std::exception& e)
{
    const auto* app = dynamic_cast<const AppError*>(&e);
    return app ? app->File() : std::string();
}

std::string PlaceText(const ErrorPlace& place)
{
    if (place.Empty())
        return {};
    std::string text = "in " + place.file;
    const auto part = [&text](const std::string& item) {
        if (text.size() > 3)
            text += ", ";
        text += item;
    };
    if (place.line > 0)
        part("line " + std::to_string(place.line));
    if (!place.segment.empty())
        part("segment " + place.segment);
    if (!place.key.empty())
        part("key " + place.key);
    if (!place.note.empty())
        text += (text.size() > 3 ? " (" : "(") + place.note + ")";
    return text;
}

std::string ErrorPlaceText(const std::exception& e)
{
    const auto* app = dynamic_cast<const AppError*>(&e);
    return app ? PlaceText(app->Place()) : std::string();
}

std::string ErrorText(const std::exception& e)
{
    // The allocator's own name for it means nothing to a user.
    if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr)
        return kNotEnoughMemory;
    const auto* app = dynamic_cast<const AppError*>(&e);
    return app != nullptr ? app->Text() : e.what();
}

std::string WithFullStop(std::string text)
{
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
        text += '.';
    return text;
}

void ThrowInvalidFloat(std::string_view text)
{
    throw AppError("'" + std::string(text) + "' is not a valid floating point value");
}

void ThrowInvalidInteger(std::string_view text)
{
    throw AppError("'" + std::string(text) + "' is not a valid integer value");
}

void ThrowDivByZero() { throw AppError("Floating point division by zero"); }
void ThrowInvalidOperation() { throw AppError("Invalid floating point operation"); }
void ThrowOverflow() { throw AppError("Floating point overflow"); }
void ThrowIntegerOverflow() { throw AppError("Integer overflow"); }

std::string UnmappedIoErrorText(int code) { return "I/O error " + std::to_string(code); }

std::string IoErrorText(int code)
{
    switch (code) {
    case 2: return "File not found";
    case 3: return "Invalid filename";
    case 4: return "Too many open files";
    case 5: return "File access denied";
    case 100: return "Read beyond end of file";
    case 101: return "Disk full";
    case 106: return "Invalid numeric input";
    default: return UnmappedIoErrorText(code);
    }
}

int IoCodeFromErrno(int err)
{
    switch (err) {
    case ENOENT: return 2;
    case ENOTDIR:
    case EISDIR:
    case ENAMETOOLONG:
    case EINVAL: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EROFS: return 5;
    case ENOSPC:
#if defined(EDQUOT)  // quotas are POSIX's
    case EDQUOT:
#endif
    case EFBIG: return 101;
    default: return -1;
    }
}


}  // namespace rq
