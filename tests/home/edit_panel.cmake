# tests of the edit panel
mitoran_add_test(test_item_editing SOURCES item_editing_test.cpp LIBS mitoran_core)
if(TARGET mitoran_test_support)
  mitoran_add_test(test_edit_panel QT SOURCES edit_panel_test.cpp LIBS mitoran_ui)
  mitoran_add_test(test_edit_panel_backups QT SOURCES edit_panel_backup_test.cpp LIBS mitoran_ui)
endif()
