list(APPEND LUMAREL_CORE_SOURCES engine/flash_state.cpp engine/bulb_arrangement.cpp engine/bulb_categories.cpp engine/bmp_file.cpp
  engine/bulb_table.cpp engine/world_layout.cpp engine/flash_pattern.cpp)
list(APPEND LUMAREL_WIN32_SOURCES engine/animation.cpp engine/engine_context.cpp engine/desktop_windows.cpp engine/bulb_world.cpp engine/bulb_object.cpp engine/bitmap.cpp
  engine/palette.cpp engine/resource_bytes.cpp engine/included_bulb.cpp engine/region_builder.cpp)
