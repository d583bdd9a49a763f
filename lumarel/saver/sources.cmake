list(APPEND LUMAREL_CORE_SOURCES saver/scene_layout.cpp saver/snow_field.cpp saver/balloon_field.cpp
  saver/floater_motion.cpp saver/animation_table.cpp saver/jpeg_to_bmp.cpp)
list(APPEND LUMAREL_WIN32_SOURCES saver/screen_saver.cpp saver/saver_picture.cpp saver/saver_modules.cpp
  saver/saver_floaters.cpp)
