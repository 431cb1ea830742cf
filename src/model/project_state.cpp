#include "model/project_state.h"

#include "model/errors.h"
#include "model/numbers.h"

namespace rq {

std::string LowerAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string VTSName(const std::string& title) { return LowerAscii(title.substr(0, 3)); }

int VTSNumber(const std::string& name)
{
    const std::string digits = name.size() > 1 ? name.substr(1, 2) : std::string();
    const std::int32_t n = ParseInteger(digits);
    if (n < 0 || n >= kVTSRecords)
        ThrowInvalidInteger(digits);
    return n;
}

}  // namespace rq
