#pragma once
// The text of the "About" page: what the program does, its version and
// build, the Qt it runs on, its license, where to read more, and the keys.
#include <QString>

namespace rq::qt {

QString AboutText();

}  // namespace rq::qt
