#include "scenario/script_text.h"

namespace pag::scenario {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// Reads the word starting at i (a non-blank character) and leaves i after it.
Word readWord(std::string_view line, size_t& i, int number) {
    Word w;
    bool startsQuoted = line[i] == '"';
    bool plain = false;
    int sections = 0;
    while (i < line.size() && !isBlank(line[i])) {
        if (line[i] != '"') {
            w.text += line[i++];
            plain = true;
            continue;
        }
        ++i;
        ++sections;
        for (;;) {
            if (i >= line.size())
                throw ScriptSyntaxError(number,
                                        "aspas sem fechamento (uma aspa dentro de "
                                        "um texto entre aspas é escrita \"\")");
            if (line[i] == '"') {
                if (i + 1 < line.size() && line[i + 1] == '"') {
                    w.text += '"';
                    i += 2;
                    continue;
                }
                ++i;
                break;
            }
            w.text += line[i++];
        }
    }
    w.quoted = startsQuoted && sections == 1 && !plain;
    return w;
}

std::vector<Word> splitWords(std::string_view line, int number) {
    std::vector<Word> words;
    size_t i = 0;
    for (;;) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        if (i >= line.size()) break;
        words.push_back(readWord(line, i, number));
    }
    return words;
}

}  // namespace

std::string joinWords(const std::vector<Word>& words) {
    std::string out;
    for (const Word& w : words)
        out += (out.empty() ? "" : " ") + (w.quoted ? "\"" + w.text + "\"" : w.text);
    return out;
}

std::vector<ScriptLine> parseScript(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // a byte-order mark
    std::vector<ScriptLine> lines;
    int number = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        ++number;
        start = end + 1;
        size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string_view::npos || line[first] == '#') continue;
        lines.push_back({number, splitWords(line, number)});
    }
    return lines;
}

}  // namespace pag::scenario
