// Running out of memory outside any command: the program still ends with its
// own message and status 1. A binary of its own, because it replaces the
// global allocation functions to make one run fail.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <unistd.h>

#include "run/no_window.h"

namespace {
std::atomic<bool> g_refuse{false};
}

void* operator new(std::size_t size)
{
    if (g_refuse.load())
        throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

TEST(OutOfMemory, OutsideACommandEndsWithTheMessageAndStatusOne)
{
    std::FILE* captured = std::tmpfile();
    ASSERT_NE(captured, nullptr);
    const std::vector<std::string> args{"--picture", "disc.svg", "--report", "REBUILDER.ECL"};
    std::fflush(stderr);
    const int saved = ::dup(2);
    ::dup2(::fileno(captured), 2);
    g_refuse = true;
    const std::optional<int> status = rq::RunWithoutWindow(args, false);
    g_refuse = false;
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);

    std::string err(200, '\0');
    std::rewind(captured);
    err.resize(std::fread(err.data(), 1, err.size(), captured));
    std::fclose(captured);
    EXPECT_EQ(status, std::optional<int>(1));
    EXPECT_EQ(err, "ratequill: Not enough memory to finish the command.\n");
}
