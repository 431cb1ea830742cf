#include "ui/qt/about.h"

#include <QCoreApplication>
#include <QDir>
#include <QtGlobal>
#include <string>

#include "ui/form1.h"

#ifndef RQ_BUILD_COMMIT
#define RQ_BUILD_COMMIT "unknown"
#endif
#ifndef RQ_README_FROM_BIN
#define RQ_README_FROM_BIN "../share/doc/ratequill/README.md"
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

// Where the README is installed, seen from the folder of the running program.
QString InstalledReadme()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/" RQ_README_FROM_BIN));
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
               "README: %4 when installed, else README.md in the source folder.\n"
               "Backups: the first save keeps the project's files as they were, beside them,\n"
               "as REBUILDER.ECLBAK and REBUILDER.INFBAK; later saves never replace them.\n"
               "\n"
               "Keys\n"
               "Ctrl+O: open another project (asks first about unsaved work).\n"
               "Ctrl+S: save (applies first when needed).   Ctrl+Q: quit (asks first about unsaved work).\n"
               "Ctrl+Z: undo.   Ctrl+Shift+Z or Ctrl+Y: redo.\n"
               "Return: in a number box, runs the command beside it; in the file-name box,\n"
               "loads or opens the project it names.\n"
               "Alt+C, Alt+S, Alt+T, Alt+A, Alt+M: \"Change\", set bitrate, set percentage,\n"
               "\"Apply Changes\", \"Modify CCE Encoding Parameters\".\n"
               "Tab and Shift+Tab: next and previous control.   Space: press a button, toggle a lock.\n"
               "Ctrl+Tab: next page.\n")
        .arg(Version(), QStringLiteral(RQ_BUILD_COMMIT), QString::fromLatin1(qVersion()), InstalledReadme());
}

}  // namespace rq::qt
