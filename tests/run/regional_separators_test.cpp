// The separators a user's regional settings give the program at start-up,
// read from locales compiled for the test (glibc's localedef, LOCPATH).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "run/process_setup.h"
#include "support/project_files.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

using namespace rqtest;

namespace {

// ASCII and the narrow no-break space that some locales group digits with.
std::string Charmap()
{
    std::string map = "<code_set_name> RQTEST\n<mb_cur_max> 3\n<mb_cur_min> 1\nCHARMAP\n";
    char line[32];
    for (int c = 1; c < 128; ++c) {
        std::snprintf(line, sizeof line, "<U%04X> \\x%02x\n", c, c);
        map += line;
    }
    return map + "<U202F> \\xe2\\x80\\xaf\nEND CHARMAP\n";
}

// Puts LOCPATH and LC_ALL in place for one reading and back afterwards.
class LocaleEnvironment {
public:
    LocaleEnvironment(const std::string& path, const std::string& name)
    {
        for (const char* var : {"LOCPATH", "LC_ALL"})
            if (const char* v = std::getenv(var))
                saved_.emplace_back(var, v);
            else
                saved_.emplace_back(var, std::nullopt);
        ::setenv("LOCPATH", path.c_str(), 1);
        ::setenv("LC_ALL", name.c_str(), 1);
    }
    ~LocaleEnvironment()
    {
        for (const auto& [var, value] : saved_)
            value ? ::setenv(var, value->c_str(), 1) : ::unsetenv(var);
    }
    LocaleEnvironment(const LocaleEnvironment&) = delete;
    LocaleEnvironment& operator=(const LocaleEnvironment&) = delete;

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

}  // namespace

// A decimal separator the same as the thousands separator would make numbers
// unreadable: the thousands separator is then "." beside a decimal comma and
// "," beside a decimal point. A thousands separator of more than one byte (or
// none) leaves ",".
TEST(RegionalSeparators, ThousandsGiveWayWhenBothAreTheSame)
{
    if (std::system("command -v localedef >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "localedef is not installed";
    struct Case {
        const char* name;
        const char* decimal;
        const char* thousands;
        rq::Separators expected;
    };
    const Case cases[] = {
        {"comma_comma", "<U002C>", "<U002C>", {',', '.'}},
        {"point_point", "<U002E>", "<U002E>", {'.', ','}},
        {"comma_nnbsp", "<U002C>", "<U202F>", {',', '.'}},
        {"comma_none", "<U002C>", "", {',', '.'}},
        {"comma_point", "<U002C>", "<U002E>", {',', '.'}},
        {"point_nnbsp", "<U002E>", "<U202F>", {'.', ','}},
    };
    TempFolder dir;
    WriteBytes(dir / "charmap", Charmap());
    for (const Case& c : cases) {
        WriteBytes(dir / c.name + ".def", std::string("LC_NUMERIC\ndecimal_point \"") + c.decimal +
                                               "\"\nthousands_sep \"" + c.thousands + "\"\ngrouping 3\nEND LC_NUMERIC\n");
        // Categories other than the numbers are missing: -c writes the locale anyway.
        const std::string compile = "localedef -c -i '" + dir / c.name + ".def' -f '" + dir / "charmap" + "' '" +
                                    dir / c.name + "' >/dev/null 2>&1";
        std::system(compile.c_str());
        ASSERT_TRUE(std::filesystem::exists(dir / c.name + "/LC_NUMERIC")) << c.name;
        const LocaleEnvironment env(dir.Path(), c.name);
#if defined(__SANITIZE_ADDRESS__)
        // The C library keeps the LOCPATH list it splits for every locale it opens.
        __lsan::ScopedDisabler libcKeepsThePathList;
#endif
        EXPECT_EQ(rq::RegionalSeparators(), c.expected) << c.name;
    }
}
