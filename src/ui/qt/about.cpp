#include "ui/qt/about.h"

#include <QtGlobal>
#include <string>

#include "ui/form1.h"

#ifndef RQ_BUILD_COMMIT
#define RQ_BUILD_COMMIT "unknown"
#endif
#ifndef RQ_DOC_DIR
#define RQ_DOC_DIR "share/doc/ratequill"
#endif

namespace rq::qt {

namespace {

// "0.55a" from the caption "Ratequill V0.55a (10/05/2004)".
QString Version()
{
    const std::string caption = TForm1::kCaption;
    const size_t v = caption.find(" V");
    const size_t end = caption.find(' ', v + 2);
    if (v == std::string::npos)
        return QStringLiteral("unknown");
    return QString::fromStdString(caption.substr(v + 2, end == std::string::npos ? end : end - v - 2));
}

}  // namespace

QString AboutText()
{
    return QStringLiteral(
               "Ratequill %1 (commit %2), running on Qt %3\n"
               "\n"
               "Shares the size of a DVD-RB re-encoding between the title sets of its project\n"
               "(REBUILDER.ECL and REBUILDER.INF), while the total size stays the same.\n"
               "\n"
               "License: MIT License (the LICENSE file beside the README).\n"
               "README: %4/README.md when installed, else README.md in the source folder.\n"
               "Backups: the first save keeps the project's files as they were, beside them,\n"
               "as REBUILDER.ECLBAK and REBUILDER.INFBAK; later saves never replace them.\n"
               "\n"
               "Keys\n"
               "  Ctrl+O               open another project (asks about unsaved work)\n"
               "  Ctrl+S               save (after \"Apply Changes\")\n"
               "  Ctrl+Z               undo the last change\n"
               "  Ctrl+Shift+Z, Ctrl+Y redo\n"
               "  Ctrl+Q               quit (asks about unsaved work)\n"
               "  Return               in a number box, runs the command beside it;\n"
               "                       in the file-name box, loads or opens the project named\n"
               "  Alt+C, Alt+S, Alt+T  \"Change\", set bitrate, set percentage\n"
               "  Alt+A, Alt+M         \"Apply Changes\", the encoding parameters\n"
               "  Tab, Shift+Tab       next and previous control; Space presses a button\n"
               "                       or toggles a lock\n"
               "  Ctrl+Tab             next page\n")
        .arg(Version(), QStringLiteral(RQ_BUILD_COMMIT), QString::fromLatin1(qVersion()), QStringLiteral(RQ_DOC_DIR));
}

}  // namespace rq::qt
