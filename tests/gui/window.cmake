vek_gui_test(window test_window.py 0)

