#pragma once

#include <QString>
#include <QStringList>

namespace trawlit {

// The program the user chose on the desktop for plain text, asked before the list of known
// editors when a default viewer name stands for "a text editor".

// The command that opens `documentArguments` in the desktop's program for plain text
// (`xdg-mime query default text/plain`, its entry found in the XDG data folders). Empty when
// the desktop names none, or one that needs a terminal.
QStringList DesktopTextEditorCommand(const QStringList& documentArguments);

// The command of a desktop entry's text: its Exec key unquoted, with `documentArguments`
// where its file or URL field code stands, or after the command when it has none. Empty when
// the entry has no command or runs in a terminal.
QStringList DesktopEntryCommand(const QString& entryText, const QStringList& documentArguments);

} // namespace trawlit
