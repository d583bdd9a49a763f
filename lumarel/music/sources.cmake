list(APPEND LUMAREL_CORE_SOURCES music/song_list.cpp)
list(APPEND LUMAREL_WIN32_SOURCES music/music_box.cpp)
