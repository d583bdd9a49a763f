list(APPEND LUMAREL_CORE_SOURCES ui/settings_codec.cpp ui/song_checksum.cpp)
list(APPEND LUMAREL_WIN32_SOURCES ui/settings_store.cpp ui/settings_window.cpp
  ui/association.cpp ui/shortcut.cpp)
