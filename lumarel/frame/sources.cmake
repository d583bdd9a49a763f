list(APPEND LUMAREL_CORE_SOURCES frame/command_line.cpp frame/watch_rules.cpp)
list(APPEND LUMAREL_WIN32_SOURCES
  frame/startup.cpp frame/main_window.cpp frame/tray.cpp frame/about.cpp frame/helpers.cpp
  frame/desktop_watcher.cpp)
list(APPEND LUMAREL_WIN32_LIBS shlwapi)
