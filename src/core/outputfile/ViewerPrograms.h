#pragma once

#include <array>
#include <string>
#include <vector>

namespace trawlit {

// Desktop text editors that stand in for the default viewers where no program of their name
// exists, most preferred first; the desktop's opener comes last.
inline constexpr std::array<const char*, 9> kTextEditorStandIns { "gnome-text-editor", "gedit",
    "kate", "mousepad", "pluma", "xed", "featherpad", "leafpad", "kwrite" };
inline constexpr const char* kDesktopOpener = "xdg-open";
// Programs offered for a document the desktop cannot open, before the text editors: office
// programs for rich text, then web browsers.
inline constexpr std::array<const char*, 7> kDocumentProgramChoices { "libreoffice", "abiword",
    "firefox", "chromium", "epiphany", "konqueror", "falkon" };

// True for the names of the default viewers, "NOTEPAD.EXE" and "WRITE.EXE", in any letter case
// and with or without ".EXE".
bool IsDefaultViewerName(const std::string& program);

// The executable file that `name` denotes, as a command line finds it: a name holding "/" is
// a path, a bare name is looked for in the folders of `searchPath` (PATH's syntax) in order;
// empty folder entries are skipped, so the current folder is never searched by accident.
// With `ignoreCase`, a name that is missing as written matches one that differs only in
// letter case. Returns empty text when nothing matches.
std::string FindProgram(const std::string& name, const std::string& searchPath, bool ignoreCase);

// The program to start for a viewer's program word: the program of that exact name; for a
// default viewer name without such a program, the first text editor stand-in found, else the
// desktop's opener; otherwise the program whose name differs only in letter case (viewer names
// typed in capitals, as the defaults are, still find their program). When nothing is found, the
// word itself, which then fails to start.
std::string ResolveViewerProgram(const std::string& program, const std::string& searchPath);

// The names of the document programs and text editors present in `searchPath`, in the order
// they are offered to open a document with.
std::vector<std::string> OpenWithChoices(const std::string& searchPath);

} // namespace trawlit
