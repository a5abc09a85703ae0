target_sources(mitoran_ui PRIVATE today_panel.cpp today_panel.h quick_panel.cpp quick_panel.h)
