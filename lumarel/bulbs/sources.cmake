list(APPEND LUMAREL_CORE_SOURCES bulbs/gif_decoder.cpp bulbs/bit_rows.cpp bulbs/crc32.cpp
  bulbs/bulb_file.cpp)
list(APPEND LUMAREL_WIN32_SOURCES bulbs/library.cpp)
