#pragma once

namespace trawlit {

// The word splitting of a command line, for any string of characters (the viewer text's bytes,
// a desktop entry's Exec value): `isBlank` characters separate words, double quotes group what
// lies between them into one word and are dropped (a quoted "" is a word, though empty), and
// an unclosed quote runs to the end. With `escapesInQuotes`, a backslash inside quotes takes
// the next character as it is. Each word goes to `addWord` in order.
template <typename Text, typename IsBlank, typename AddWord>
void SplitWords(const Text& text, IsBlank isBlank, bool escapesInQuotes, AddWord addWord)
{
    Text word;
    bool inWord = false;
    bool quoted = false;
    for (decltype(text.size()) i = 0; i < text.size(); ++i) {
        const auto c = text[i];
        if (escapesInQuotes && quoted && c == '\\' && i + 1 < text.size()) {
            word += text[++i];
        } else if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && isBlank(c)) {
            if (inWord)
                addWord(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        addWord(word);
}

} // namespace trawlit
