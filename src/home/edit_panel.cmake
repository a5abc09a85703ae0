# The edit panel and its item editing logic (the logic stays free of Qt).
target_sources(mitoran_ui PRIVATE edit_panel.cpp edit_panel.h edit_panel.ui restore_dialog.cpp
                                  restore_dialog.h restore_dialog.ui)
target_sources(mitoran_core PRIVATE
  item_validation.cpp item_validation.h
  item_list_edit.cpp item_list_edit.h
  item_files.cpp item_files.h
  backup_restore.cpp backup_restore.h)
