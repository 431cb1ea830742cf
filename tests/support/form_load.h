#pragma once
// A project loaded into the main form as the user loads it.
#include <gtest/gtest.h>

#include <string>

#include "ui/form1.h"

namespace rqtest {

// Types the path into the project box and presses Load; the load must run.
inline void Load(rq::TForm1& f, const std::string& path)
{
    f.s.Edit10.SetText(path);
    ASSERT_TRUE(f.Run([&] { f.Button1Click(); }));
}

}  // namespace rqtest
