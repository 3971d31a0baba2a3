// vek-gui-driver: drives the "DNS lookup" window from another process, as a
// user would, for the window tests. It reads one command per line from
// standard input and answers each with one line: "ok [value]" or
// "error <reason>". Texts in commands and answers are escaped (\n, \r, \t,
// \\). Every wait is bounded by the time given in milliseconds.
//
//   find <ms>                 wait for the window; answers its caption
//   dialog <ms> <caption>     wait for another dialog of the program and work
//                             on it from now on (find returns to the window)
//   text <id>                 window text of a control (0: the dialog)
//   settext <id> <text>       WM_SETTEXT (typing into a field)
//   click <id>                post BM_CLICK to a button
//   command <id>              post WM_COMMAND <id> to the dialog
//   key <id> enter|escape     post the key to a control (to the dialog with 0)
//   enabled <id> / visible <id> / style <id> / exstyle <id> / class <id>
//   rect <id>                 rectangle in client pixels: l t w h (0: client)
//   list <id>                 lines of a combo box, joined by \n
//   selected <id>             selected line of a combo box
//   select <id> <n>           select line n of a combo box (CB_SETCURSEL)
//   watch <id> <ms> <stop-id> <stop-text>  the successive states of a
//                             control until another one shows a text
//   waittext <id> <ms> <text> wait until the text equals <text>
//   waitprefix <id> <ms> <text> wait until the text starts with <text>
//   close                     post WM_CLOSE to the dialog
//   gone <ms>                 wait until the window is gone
//   loadstring <module> <id>  the string resource of an executable file
//   template <module> <id>    a dialog template of an executable file
//   children                  ids of the dialog's controls in z (tab) order
//   screenrect <id>           rectangle in screen pixels: l t r b (0: dialog)
//   owner                     caption of the dialog's owner window
//   defid / focus             id of the default button / of the focused control
//   enable <id> 0|1           enable or disable a control
//   syscommand <command>      post WM_SYSCOMMAND to the dialog
//   hookclicks                count the click commands of the dialog's thread
//   clicks <id>               click commands of control <id> counted so far
//   syscolors                 the button colours: name r g b;...
//   clipboard empty|bitmap|huge <count>|text <text>
//                             what the clipboard holds (no text, a picture,
//                             that many characters, the text)
//   responsive <ms>           whether the window answers a message in time
//   regget <key> <value>      a value under HKEY_CURRENT_USER: <type> <hex>
//   regset <key> <type> <hex|-> <value>  store raw bytes of any type
//   regdel <key>              remove a key and all below it
//   setpos <x> <y> <cx> <cy> <flags>  SetWindowPos; answers the new l t r b
//   poschanging <x> <y> <cx> <cy> <flags>  send WM_WINDOWPOSCHANGING alone;
//                             answers the record as the window left it
//   show min|max|restore / state / workarea
//   checked <id> / setcheck <id> <state>  check state of a check box
//   popup <ms>                the open popup menu's l t r b
//   popupkey <ms> escape|<letter>  a key into the popup menu, until it closes
//   savedialog <ms>           the save dialog: <name>|<types>|<selected>
//   savefile <ms> <path> / savecancel <ms>  the save dialog's buttons
//   confirm <ms> yes|no       answer the overwrite question; answers its text
//   savegone <ms>             wait until the save dialog has closed
//   lockfile <path> / unlockfile  hold a file open with no sharing
//   quit                      end the driver
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "BadInput.h"
#include "DialogState.h"
#include "Escape.h"
#include "RegistryCommands.h"
#include "SettingsCommands.h"
#include "TemplateDump.h"
#include "WindowQueries.h"

namespace {

// What is left of the line after the words read so far.
std::string Rest(std::istringstream& in) {
    std::string rest;
    std::getline(in >> std::ws, rest);
    return rest;
}

std::string Answer(const std::string& line, WindowQueries& window) {
    std::istringstream in(line);
    std::string verb;
    in >> verb;
    if (verb == "find") {
        long ms = 0;
        in >> ms;
        return window.Find(ms) ? "ok " + Escape(window.Text(0)) : "error no window";
    }
    if (verb == "dialog") {
        long ms = 0;
        in >> ms;
        std::string caption;
        std::getline(in, caption);
        if (!caption.empty() && caption[0] == ' ') caption.erase(0, 1);
        return window.Find(ms, Widen(Unescape(caption))) ? "ok " + Escape(window.Text(0)) : "error no dialog";
    }
    if (verb == "syscolors") return SystemColours();
    if (verb == "template") {
        std::string module;
        int id = 0;
        in >> module >> id;
        return DumpTemplate(module, id);
    }
    if (verb == "clipboard") {
        std::string rest;
        std::getline(in, rest);
        return SetClipboard(rest.empty() ? rest : rest.substr(1));
    }
    if (verb == "responsive") {
        long ms = 0;
        in >> ms;
        return CheckResponsive(ms);
    }
    if (verb == "loadstring") {
        std::string module;
        int id = 0;
        in >> module >> id;
        return LoadStringOf(module, id);
    }
    if (IsRegistryCommand(verb)) return RunRegistryCommand(verb, Rest(in));
    if (!window.Found()) return "error no window (find first)";
    if (IsSettingsCommand(verb)) return RunSettingsCommand(window.Handle(), verb, Rest(in));
    if (verb == "gone") {
        long ms = 0;
        in >> ms;
        return window.WaitGone(ms) ? "ok" : "error still there";
    }
    int id = 0;
    in >> id;
    std::string rest;
    std::getline(in, rest);
    if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
    return window.Run(verb, id, rest);
}

}  // namespace

int main() {
    WindowQueries window;
    std::string line;
    for (int i = 0; i < 100000 && std::getline(std::cin, line); ++i) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "quit") break;
        std::string reply = Answer(line, window);
        std::fwrite(reply.data(), 1, reply.size(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
    return 0;
}
