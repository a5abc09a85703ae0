# The edit panel, its three parts and its item editing logic (the logic stays free of Qt).
target_sources(mitoran_ui PRIVATE edit_panel.cpp edit_panel.h edit_panel.ui
                                  edit_panel_common.cpp edit_panel_common.h
                                  item_list_editor.cpp item_list_editor.h item_list_editor.ui
                                  history_clearing.cpp history_clearing.h history_clearing.ui
                                  play_modes_editor.cpp play_modes_editor.h play_modes_editor.ui
                                  restore_dialog.cpp restore_dialog.h restore_dialog.ui)
target_sources(mitoran_core PRIVATE
  item_validation.cpp item_validation.h
  item_list_edit.cpp item_list_edit.h
  item_files.cpp item_files.h
  backup_restore.cpp backup_restore.h)
