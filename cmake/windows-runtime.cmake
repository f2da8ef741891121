# The DLLs and plugins the Windows program loads, placed beside it: no windeployqt exists for
# this cross build. Qt looks for its plugins in folders beside the executable (platforms/,
# styles/, sqldrivers/), so the same layout serves the build folder and the program folder.

set(KPS_MINGW_RUNTIME_DLLS)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  find_file(found_${dll} ${dll}
    PATHS /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  list(APPEND KPS_MINGW_RUNTIME_DLLS ${found_${dll}})
endforeach()

set(KPS_QT_RUNTIME_DLLS
  $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
  $<TARGET_FILE:Qt6::Network> $<TARGET_FILE:Qt6::Sql>)

# Plugin folder → plugin targets.
set(KPS_QT_PLUGINS_platforms Qt6::QWindowsIntegrationPlugin Qt6::QOffscreenIntegrationPlugin)
set(KPS_QT_PLUGINS_styles Qt6::QWindowsVistaStylePlugin)
set(KPS_QT_PLUGINS_sqldrivers Qt6::QODBCDriverPlugin)
set(KPS_QT_PLUGIN_FOLDERS platforms styles sqldrivers)

# Into the program folder of an installation.
function(kps_install_windows_runtime)
  install(FILES ${KPS_MINGW_RUNTIME_DLLS} ${KPS_QT_RUNTIME_DLLS} DESTINATION . COMPONENT program)
  foreach(folder ${KPS_QT_PLUGIN_FOLDERS})
    foreach(plugin ${KPS_QT_PLUGINS_${folder}})
      install(FILES $<TARGET_FILE:${plugin}> DESTINATION ${folder} COMPONENT program)
    endforeach()
  endforeach()
endfunction()

# Beside the executables of the build folder, with Qt's test library, so that the tests run
# there under wine.
function(kps_copy_windows_runtime_to_build)
  set(bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  set(commands COMMAND ${CMAKE_COMMAND} -E copy_if_different ${KPS_MINGW_RUNTIME_DLLS}
    ${KPS_QT_RUNTIME_DLLS} $<TARGET_FILE:Qt6::Test> ${bin})
  foreach(folder ${KPS_QT_PLUGIN_FOLDERS})
    set(files)
    foreach(plugin ${KPS_QT_PLUGINS_${folder}})
      list(APPEND files $<TARGET_FILE:${plugin}>)
    endforeach()
    list(APPEND commands COMMAND ${CMAKE_COMMAND} -E make_directory ${bin}/${folder}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${files} ${bin}/${folder})
  endforeach()
  add_custom_target(windows_runtime ALL ${commands} VERBATIM)
endfunction()
