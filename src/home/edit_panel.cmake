target_sources(mitoran_ui PRIVATE edit_panel.cpp edit_panel.h)
