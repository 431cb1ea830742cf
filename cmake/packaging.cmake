# What gets installed, and the packages made of it: a Debian package on Linux
# (`cpack -G DEB`), an installer and a zip on Windows (`cpack -G NSIS`,
# `cpack -G ZIP`, cross-built with the windows-cross preset). The version of
# every package is the one in project().
#
# Install rules come in components, so a program can bring its own files:
#   cli  ratequill-cli
#   gui  ratequill with what its window needs (on Linux the desktop entry, the
#        icon and the file type of DVD-RB projects)
#   doc  README, license, manual pages, and on Linux the Debian copyright and
#        changelog
# Every package holds all of them (one package, one installer).
include(GNUInstallDirs)

set(RATEQUILL_PACKAGE_CONTACT "Ratequill developers <ratequill@users.noreply.invalid>"
    CACHE STRING "Maintainer of the packages: name <address>")
set(RQ_COPYRIGHT "2026 The Ratequill developers")

# --- What gets installed ----------------------------------------------------

install(TARGETS ratequill-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT cli)

if(WIN32)
  # Beside bin\, under names that Windows opens with a text editor.
  install(FILES README.md DESTINATION . RENAME README.txt COMPONENT doc)
  install(FILES LICENSE DESTINATION . RENAME LICENSE.txt COMPONENT doc)
  if(TARGET ratequill)
    install(TARGETS ratequill RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT gui)
  endif()
else()
  set(rq_programs ratequill-cli)
  if(TARGET ratequill)
    list(APPEND rq_programs ratequill)
    install(TARGETS ratequill RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT gui)
    install(FILES share/applications/ratequill.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT gui)
    install(FILES share/icons/hicolor/scalable/apps/ratequill.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT gui)
    install(FILES share/mime/packages/ratequill.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages COMPONENT gui)
  endif()
  install(FILES README.md LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT doc)

  # Debian's copyright file holds the license's words, taken from LICENSE.
  file(STRINGS LICENSE rq_license_lines)
  list(FILTER rq_license_lines EXCLUDE REGEX "^(MIT License|Copyright .*)$")
  set(RQ_LICENSE_TEXT "")
  set(rq_started OFF)
  foreach(line IN LISTS rq_license_lines)
    if(line STREQUAL "")
      if(rq_started)
        string(APPEND RQ_LICENSE_TEXT " .\n")
      endif()
    else()
      set(rq_started ON)
      string(APPEND RQ_LICENSE_TEXT " ${line}\n")
    endif()
  endforeach()
  string(REGEX REPLACE "\n$" "" RQ_LICENSE_TEXT "${RQ_LICENSE_TEXT}")

  # A native package (we are its upstream): the changelog is changelog.gz.
  # Its entry is dated by the commit, so a package rebuilt from the
  # same commit is the same package.
  set(RQ_PACKAGE_COMMIT "${RQ_BUILD_COMMIT}")
  execute_process(COMMAND git log -1 --format=%cD WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                  OUTPUT_VARIABLE RQ_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(RQ_CHANGELOG_DATE STREQUAL "")
    string(TIMESTAMP RQ_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
  endif()

  set(rq_doc_build ${PROJECT_BINARY_DIR}/doc)
  configure_file(packaging/debian/copyright.in ${rq_doc_build}/copyright @ONLY)
  configure_file(packaging/debian/changelog.in ${rq_doc_build}/changelog @ONLY)
  set(rq_compressed ${rq_doc_build}/changelog.gz)
  set(rq_manuals "")
  foreach(program IN LISTS rq_programs)
    configure_file(share/man/${program}.1.in ${rq_doc_build}/${program}.1 @ONLY)
    list(APPEND rq_compressed ${rq_doc_build}/${program}.1.gz)
    list(APPEND rq_manuals ${rq_doc_build}/${program}.1.gz)
  endforeach()
  # Manual pages and the changelog are installed compressed, as Debian wants
  # them: gzip -9n leaves no name or time in the file.
  foreach(gz IN LISTS rq_compressed)
    string(REGEX REPLACE "\\.gz$" "" plain "${gz}")
    add_custom_command(OUTPUT ${gz} COMMAND gzip -9nc ${plain} > ${gz} DEPENDS ${plain} VERBATIM)
  endforeach()
  add_custom_target(compressed_docs ALL DEPENDS ${rq_compressed})
  install(FILES ${rq_manuals} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT doc)
  install(FILES ${rq_doc_build}/copyright ${rq_doc_build}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT doc)
  # What lintian reports and is kept on purpose.
  install(FILES packaging/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
          RENAME ratequill COMPONENT doc)
endif()

# --- Packages ----------------------------------------------------------------

# rq_nsis_open_with(EXE): the installer registers bin\EXE with Explorer's
# "Open with" for .ecl and .inf files, and the uninstaller removes it again.
# It is offered, never made the default: .inf files are Windows' own setup
# information, and Windows has no file types by whole file name.
function(rq_nsis_open_with exe)
  set(classes "Software\\Classes")
  set(progid "Ratequill.Project")
  set(changed "System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'")
  set(install
      "  WriteRegStr SHCTX '${classes}\\${progid}' '' 'DVD-RB project'"
      "  WriteRegStr SHCTX '${classes}\\${progid}\\shell\\open\\command' '' '\"$INSTDIR\\bin\\${exe}\" \"%1\"'")
  set(uninstall "  DeleteRegKey SHCTX '${classes}\\${progid}'")
  foreach(ext .ecl .inf)
    list(APPEND install "  WriteRegStr SHCTX '${classes}\\${ext}\\OpenWithProgids' '${progid}' ''")
    list(APPEND uninstall "  DeleteRegValue SHCTX '${classes}\\${ext}\\OpenWithProgids' '${progid}'")
    list(APPEND uninstall "  DeleteRegKey /ifempty SHCTX '${classes}\\${ext}\\OpenWithProgids'")
  endforeach()
  list(APPEND install "  ${changed}")
  list(APPEND uninstall "  ${changed}")
  list(JOIN install "\n" install)
  list(JOIN uninstall "\n" uninstall)
  set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "${CPACK_NSIS_EXTRA_INSTALL_COMMANDS}\n${install}" PARENT_SCOPE)
  set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "${CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS}\n${uninstall}" PARENT_SCOPE)
endfunction()

set(CPACK_PACKAGE_NAME "Ratequill")
set(CPACK_PACKAGE_VENDOR "Ratequill developers")
set(CPACK_PACKAGE_CONTACT "${RATEQUILL_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "share the size of a DVD re-encoding between its title sets")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_RESOURCE_FILE_README "${PROJECT_SOURCE_DIR}/README.md")
if(WIN32)
  # The programs are stripped by the linker: stripping a PE file at packaging
  # time stamps each copy anew, and the installer and the zip should carry the
  # same bytes.
  foreach(program ratequill-cli ratequill)
    if(TARGET ${program})
      target_link_options(${program} PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)
    endif()
  endforeach()
else()
  set(CPACK_STRIP_FILES ON)
endif()
# Values reach the package generators as written here, quotes included.
set(CPACK_VERBATIM_VARIABLES ON)
# One package with every component.
set(CPACK_MONOLITHIC_INSTALL ON)
set(CPACK_OUTPUT_FILE_PREFIX "${PROJECT_BINARY_DIR}/packages")
set(CPACK_PACKAGE_CHECKSUM SHA256)

if(WIN32)
  set(CPACK_GENERATOR "NSIS;ZIP")
  set(CPACK_PACKAGE_FILE_NAME "ratequill-${PROJECT_VERSION}-win64")
  set(CPACK_PACKAGE_INSTALL_DIRECTORY "Ratequill")
  set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Ratequill")
  set(CPACK_NSIS_PACKAGE_NAME "Ratequill")
  set(CPACK_NSIS_DISPLAY_NAME "Ratequill ${PROJECT_VERSION}")
  # A 64-bit installer for 64-bit programs: it installs into the 64-bit
  # Program Files and registry, and needs no 32-bit layer on a 64-bit system.
  set(CPACK_NSIS_DEFINES "  Target amd64-unicode")
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  # A page that offers to add bin\ to PATH (off unless chosen; a silent
  # install leaves PATH alone).
  set(CPACK_NSIS_MODIFY_PATH ON)
  set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
  set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
  set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\ratequill-cli.exe")
  # The Start menu: a command prompt that finds ratequill-cli (bin\ put first
  # on its PATH, whether or not the system PATH has it) and shows its usage;
  # the README; the uninstaller (added by CPack).
  set(CPACK_NSIS_MENU_LINKS "README.txt" "README")
  set(rq_console "$SMPROGRAMS\\$STARTMENU_FOLDER\\Ratequill command prompt.lnk")
  set(CPACK_NSIS_CREATE_ICONS_EXTRA
      "  CreateShortCut '${rq_console}' '$SYSDIR\\cmd.exe' '/k \"set \"PATH=$INSTDIR\\bin;%PATH%\" & ratequill-cli.exe --help\"'")
  set(CPACK_NSIS_DELETE_ICONS_EXTRA "  Delete '$SMPROGRAMS\\$MUI_TEMP\\Ratequill command prompt.lnk'")
  # The window, when this build has one: a Start-menu entry, and Explorer's
  # "Open with" for DVD-RB projects. Its Qt DLLs and plugins belong in the
  # gui component beside it in bin\.
  if(TARGET ratequill)
    set(CPACK_PACKAGE_EXECUTABLES "ratequill" "Ratequill")
    set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\ratequill.exe")
    rq_nsis_open_with(ratequill.exe)
  endif()
else()
  set(CPACK_GENERATOR "DEB")
  set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
  set(CPACK_DEBIAN_PACKAGE_NAME "ratequill")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION "video")
  set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
  set(CPACK_DEBIAN_COMPRESSION_TYPE "xz")
  # The libraries the programs link, with their versions, read from the
  # programs themselves by dpkg-shlibdeps.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The synopsis is the summary above; this is the extended description.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "Ratequill reads a DVD-RB project (REBUILDER.ECL and REBUILDER.INF) and groups
its encoding segments by title set. For each title set it shows frames, run
time, size, average bitrate and the percentage of its original size, and it
moves size between title sets while the total stays the same: a new bitrate
or percentage for one title set, the feature film as large as possible while
the others are held at one value, locks, and bitrate limits. It writes the
new bitrates and reductions back into both files, keeping the originals as
backups.
.
The package holds the window (ratequill) and the same job without a window
for scripts (ratequill-cli).")
endif()

include(CPack)
