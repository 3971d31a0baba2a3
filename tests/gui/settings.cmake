# The root-server menu, the settings kept between runs, the sizing rule and
# saving the report (included by CMakeLists.txt of this folder).
vek_gui_test(root-server-menu test_root_server_menu.py 5)
vek_gui_test(settings-store test_settings_store.py 6)
vek_gui_test(window-sizing test_window_sizing.py 7)
vek_gui_test(save-report test_save_report.py 8)

# The store's registry rules, tested on the functions themselves; run under
# Wine on a display of its own by test_settings_store_rules.py.
add_executable(vek-settings-store-tests ${CMAKE_CURRENT_SOURCE_DIR}/SettingsStoreTest.cpp)
target_link_libraries(vek-settings-store-tests PRIVATE vekui gtest_main)
vek_gui_test(settings-store-rules test_settings_store_rules.py 9)
