vek_gui_test(about test_about.py 4)
