list(APPEND LUMAREL_CORE_SOURCES ui/settings_codec.cpp ui/song_checksum.cpp ui/shell_places.cpp
  ui/arrangement_edits.cpp ui/settings_rules.cpp ui/bulb_list_rules.cpp)
list(APPEND LUMAREL_WIN32_SOURCES ui/settings_store.cpp ui/settings_window.cpp
  ui/association.cpp ui/shortcut.cpp ui/saver_install.cpp
  ui/sharing_page.cpp ui/sharing_dialogs.cpp
  ui/settings_snapshot.cpp ui/bulb_page.cpp ui/bulb_list.cpp ui/bulb_boxes.cpp ui/music_page.cpp ui/saver_page.cpp
  ui/general_page.cpp ui/theme_dialogs.cpp ui/picture_list.cpp ui/settings_lists.cpp ui/media_folders.cpp)
list(APPEND LUMAREL_CORE_SOURCES ui/bulb_editor.cpp)
list(APPEND LUMAREL_WIN32_SOURCES ui/bulb_factory.cpp ui/bulb_factory_preview.cpp
  ui/bulb_factory_categories.cpp)
