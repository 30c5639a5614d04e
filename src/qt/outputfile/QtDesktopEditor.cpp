#include "qt/outputfile/QtDesktopEditor.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include "core/outputfile/CommandWords.h"

namespace trawlit {

namespace {

constexpr int kQueryMilliseconds = 3000;

// The values of the keys of the [Desktop Entry] group, with the escapes of a string value
// (\s, \n, \t, \r, \\) undone.
QString EntryValue(const QString& entryText, const QString& key)
{
    bool inEntryGroup = false;
    for (const QString& rawLine : entryText.split('\n')) {
        const QString line = rawLine.trimmed();
        if (line.startsWith('[')) {
            inEntryGroup = line == QLatin1String("[Desktop Entry]");
        } else if (inEntryGroup && line.section('=', 0, 0).trimmed() == key) {
            const QString raw = line.section('=', 1).trimmed();
            QString value;
            for (qsizetype i = 0; i < raw.size(); ++i) {
                if (raw[i] != '\\' || i + 1 == raw.size()) {
                    value += raw[i];
                    continue;
                }
                const QChar next = raw[++i];
                value += next == 's' ? QChar(' ')
                    : next == 'n'    ? QChar('\n')
                    : next == 't'    ? QChar('\t')
                    : next == 'r'    ? QChar('\r')
                                     : next;
            }
            return value;
        }
    }
    return {};
}

// The Exec value's words: blanks separate them, double quotes group them, and inside quotes
// a backslash takes the next character as it is.
QStringList ExecWords(const QString& exec)
{
    QStringList words;
    SplitWords(
        exec, [](QChar c) { return c.isSpace(); }, true,
        [&](const QString& word) { words << word; });
    return words;
}

QString DefaultTextEntryId()
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), { "query", "default", "text/plain" });
    if (!query.waitForFinished(kQueryMilliseconds)) {
        query.kill();
        query.waitForFinished();
        return {};
    }
    const QString id = QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
    return id.endsWith(QLatin1String(".desktop")) && !id.contains('/') ? id : QString();
}

} // namespace

QStringList DesktopEntryCommand(const QString& entryText, const QStringList& documentArguments)
{
    if (EntryValue(entryText, "Terminal") == QLatin1String("true"))
        return {};
    QStringList command;
    bool placed = false;
    for (const QString& word : ExecWords(EntryValue(entryText, "Exec"))) {
        static const QStringList kDocumentCodes { "%f", "%F", "%u", "%U" };
        if (kDocumentCodes.contains(word)) {
            if (!placed)
                command << documentArguments;
            placed = true;
        } else if (word.size() == 2 && word.startsWith('%')) {
            continue; // the icon, name or location codes, and the deprecated ones
        } else {
            command << QString(word).replace(QLatin1String("%%"), QLatin1String("%"));
        }
    }
    if (command.isEmpty())
        return {};
    if (!placed)
        command << documentArguments;
    return command;
}

QStringList DesktopTextEditorCommand(const QStringList& documentArguments)
{
    const QString id = DefaultTextEntryId();
    if (id.isEmpty())
        return {};
    QFile entry(QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id));
    if (!entry.open(QIODevice::ReadOnly))
        return {};
    return DesktopEntryCommand(QString::fromUtf8(entry.readAll()), documentArguments);
}

} // namespace trawlit
