# The root-server menu, the settings kept between runs, the sizing rule and
# saving the report (included by CMakeLists.txt of this folder).
vek_gui_test(root-server-menu test_root_server_menu.py 5)
vek_gui_test(settings-store test_settings_store.py 6)
vek_gui_test(window-sizing test_window_sizing.py 7)
vek_gui_test(save-report test_save_report.py 8)

# The store's registry rules, tested on the functions themselves.
vek_gui_gtest(settings-store-rules SettingsStoreTest.cpp 9)
