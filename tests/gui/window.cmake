vek_gui_test(window test_window.py 0)
vek_gui_test(lookup test_lookup.py 1)
vek_gui_gtest(output-control OutputControlTest.cpp 13)
