# The files of the Win32 layer, for the native Windows build (CMakeLists.txt beside this
# file) and for the mingw-w64 build whose tests run under Wine (tests/wine/mingw).
set(dir ${CMAKE_CURRENT_LIST_DIR})

# Plain text and byte work: builds and is tested on every system.
set(pellwick_windows_logic_sources
  ${dir}/windows_paths.h ${dir}/windows_paths.cpp
  ${dir}/little_endian.h
  ${dir}/icon_directory.h ${dir}/icon_directory.cpp
  ${dir}/notify_icon_data.h ${dir}/notify_icon_record.h ${dir}/notify_icon_record.cpp
  ${dir}/shell_clicks.h)
set(pellwick_windows_logic_tests
  ${dir}/windows_paths_test.cpp ${dir}/icon_directory_test.cpp
  ${dir}/notify_icon_record_test.cpp ${dir}/shell_clicks_test.cpp)

set(pellwick_windows_sources
  ${pellwick_windows_logic_sources}
  ${dir}/win32.h
  ${dir}/wide_text.h ${dir}/wide_text.cpp
  ${dir}/native_notify_icon.h ${dir}/native_notify_icon.cpp
  ${dir}/win32_tray_shell.h ${dir}/win32_tray_shell.cpp
  ${dir}/win32_desktop_windows.h ${dir}/win32_desktop_windows.cpp
  ${dir}/registry_autorun.h ${dir}/registry_autorun.cpp
  ${dir}/win32_user_folders.h ${dir}/win32_user_folders.cpp
  ${dir}/named_mutex_instance.h ${dir}/named_mutex_instance.cpp
  ${dir}/win32_close_requests.h ${dir}/win32_close_requests.cpp)
# The layer's face to the rest of Pellwick, which needs Qt: native Windows builds only.
set(pellwick_windows_qt_sources
  ${dir}/win32_tray_icons.h ${dir}/win32_tray_icons.cpp
  ${dir}/platform_services_windows.cpp)
set(pellwick_windows_libraries user32 shell32 advapi32)

# Tests that need Windows (or Wine): they start processes, make windows and folders and
# write the per-user Run key, so they run in a throw-away Wine prefix only.
set(pellwick_windows_system_tests
  ${dir}/native_notify_icon_test.cpp
  ${dir}/win32_tray_shell_test.cpp
  ${dir}/win32_desktop_windows_test.cpp
  ${dir}/registry_autorun_test.cpp
  ${dir}/win32_user_folders_test.cpp
  ${dir}/named_mutex_instance_test.cpp
  ${dir}/win32_close_requests_test.cpp)
unset(dir)
