# What the window needs beside ratequill.exe on a Windows that has no Qt and
# no MinGW: Qt's DLLs, the Windows platform plugin and the native style, and
# the MinGW runtime DLLs that Qt's DLLs and the program share.
#
# rq_qt_runtime_files(<var>) lists them as "<file>|<folder beside the .exe>".
# rq_deploy_qt_runtime(<folder>) copies them into a folder of the build tree
# (with the offscreen plugin too, for the tests under Wine) as the target
# rq_qt_runtime; rq_install_qt_runtime() installs them beside the program.

function(rq_mingw_runtime_dll name out)
  # The compiler knows where its own runtime lies (12-posix for the posix
  # threads flavour); libwinpthread comes with the mingw-w64 headers.
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${name}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    find_file(path_found ${name} PATHS /usr/${RQ_MINGW}/lib /usr/${RQ_MINGW}/bin NO_DEFAULT_PATH NO_CACHE)
    set(path "${path_found}")
  endif()
  if(NOT path)
    message(FATAL_ERROR "The MinGW runtime DLL ${name} was not found beside ${CMAKE_CXX_COMPILER}")
  endif()
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

function(rq_qt_runtime_files out)
  set(files)
  foreach(lib Core Gui Widgets)
    list(APPEND files "$<TARGET_FILE:Qt6::${lib}>|.")
  endforeach()
  list(APPEND files "$<TARGET_FILE:Qt6::QWindowsIntegrationPlugin>|platforms")
  list(APPEND files "$<TARGET_FILE:Qt6::QWindowsVistaStylePlugin>|styles")
  foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    rq_mingw_runtime_dll(${dll} path)
    list(APPEND files "${path}|.")
  endforeach()
  set(${out} "${files}" PARENT_SCOPE)
endfunction()

function(rq_deploy_qt_runtime folder)
  rq_qt_runtime_files(files)
  # The tests run offscreen under Wine, and they need Qt's test library.
  list(APPEND files "$<TARGET_FILE:Qt6::QOffscreenIntegrationPlugin>|platforms")
  if(TARGET Qt6::Test)
    list(APPEND files "$<TARGET_FILE:Qt6::Test>|.")
  endif()
  set(commands)
  foreach(entry ${files})
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 file)
    list(GET parts 1 sub)
    list(APPEND commands COMMAND ${CMAKE_COMMAND} -E make_directory "${folder}/${sub}"
                         COMMAND ${CMAKE_COMMAND} -E copy_if_different "${file}" "${folder}/${sub}/")
  endforeach()
  add_custom_target(rq_qt_runtime ${commands} VERBATIM
                    COMMENT "Laying Qt's and MinGW's DLLs beside the programs")
endfunction()

function(rq_install_qt_runtime bindir)
  rq_qt_runtime_files(files)
  foreach(entry ${files})
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 file)
    list(GET parts 1 sub)
    if(sub STREQUAL ".")
      install(FILES "${file}" DESTINATION "${bindir}" COMPONENT gui)
    else()
      install(FILES "${file}" DESTINATION "${bindir}/${sub}" COMPONENT gui)
    endif()
  endforeach()
endfunction()
