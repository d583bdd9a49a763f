list(APPEND LUMAREL_CORE_SOURCES bulbs/gif_decoder.cpp bulbs/bit_rows.cpp bulbs/crc32.cpp
  bulbs/bulb_file.cpp bulbs/bulb_sending.cpp)
list(APPEND LUMAREL_WIN32_SOURCES bulbs/library.cpp bulbs/win_file.cpp bulbs/gif_bitmaps.cpp
  bulbs/bulb_writer.cpp bulbs/extra_bulb.cpp
  bulbs/bulb_upload.cpp)
list(APPEND LUMAREL_WIN32_LIBS ws2_32)
