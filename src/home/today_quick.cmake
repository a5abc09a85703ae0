# The today and Quick Muscle panels; their window-free logic lives in the core.
target_sources(mitoran_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/day_statistics.cpp ${CMAKE_CURRENT_LIST_DIR}/day_statistics.h
  ${CMAKE_CURRENT_LIST_DIR}/quick_history.cpp ${CMAKE_CURRENT_LIST_DIR}/quick_history.h)
target_sources(mitoran_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/today_panel.cpp ${CMAKE_CURRENT_LIST_DIR}/today_panel.h
  ${CMAKE_CURRENT_LIST_DIR}/today_panel.ui
  ${CMAKE_CURRENT_LIST_DIR}/quick_panel.cpp ${CMAKE_CURRENT_LIST_DIR}/quick_panel.h
  ${CMAKE_CURRENT_LIST_DIR}/quick_panel.ui)
