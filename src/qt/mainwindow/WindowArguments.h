#pragma once

#include <QString>
#include <QStringList>

namespace trawlit {

// What the window's command line asks for, once Qt has taken its own options out: at most
// one folder to start in. A folder named like an option follows "--".
struct WindowArguments {
    QString rootFolder; // absolute; empty when none was given
    QString error; // a refused command line, said in one line
};

// `arguments` starts with the program's name; a relative folder is taken from
// `currentFolder`, and a file:// URL stands for its local path.
WindowArguments ParseWindowArguments(const QStringList& arguments, const QString& currentFolder);

// True when `arguments` hold nothing that Qt could take as its own option, so that a refusal
// of ParseWindowArguments stands before Qt has seen them.
bool HoldsNoOption(const QStringList& arguments);

} // namespace trawlit
