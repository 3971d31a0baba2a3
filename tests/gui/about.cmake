vek_gui_test(about test_about.py 4)
vek_gui_test(flat-button test_flat_button.py 5)
