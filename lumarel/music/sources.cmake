list(APPEND LUMAREL_CORE_SOURCES music/song_list.cpp music/music_logic.cpp)
list(APPEND LUMAREL_WIN32_SOURCES music/music_box.cpp music/media_graph.cpp music/song_folder.cpp)
