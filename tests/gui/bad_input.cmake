vek_gui_test(bad-input test_bad_input.py 12)
