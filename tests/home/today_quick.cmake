# tests of the today and Quick Muscle panels
mitoran_add_test(test_today_quick_core SOURCES today_quick_core_test.cpp LIBS mitoran_core)
if(TARGET mitoran_test_support)
  mitoran_add_test(test_today_quick QT SOURCES today_panel_test.cpp quick_panel_test.cpp
                   LIBS mitoran_ui)
endif()
