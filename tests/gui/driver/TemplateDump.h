#pragma once
// The dialog template of an executable file, as text: the answer of the
// driver's "template <module> <id>" command.
#include <string>

// "ok " + escaped lines: first the dialog ("caption|x y w h|style|exstyle|
// points face"), then one line per control in template order
// ("id|class|text|x y w h|style|exstyle"); styles in hexadecimal.
std::string DumpTemplate(const std::string& module, int id);
