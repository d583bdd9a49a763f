list(APPEND LUMAREL_CORE_SOURCES base/text.cpp base/help_topics.cpp base/data_places.cpp)
list(APPEND LUMAREL_WIN32_SOURCES base/global_block.cpp base/reg_key.cpp base/program_path.cpp base/message.cpp
  base/shell_view.cpp base/dialog_helpers.cpp base/data_folders.cpp)
