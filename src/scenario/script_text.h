#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pag::scenario {

// One word of a scenario line. A word holding blanks is written in double quotes
// (a doubled quote inside stands for one quote); quoted tells that the whole word was
// written quoted, which makes `expect message "TEXT"` a text and `null` a text too.
struct Word {
    std::string text;
    bool quoted = false;
    bool operator==(const Word&) const = default;
};

// One command of a scenario file with its line number (from 1).
struct ScriptLine {
    int number = 0;
    std::vector<Word> words;
};

// A line the reader cannot split into words (an unclosed quote).
struct ScriptSyntaxError : std::runtime_error {
    ScriptSyntaxError(int line, const std::string& text) : std::runtime_error(text), line(line) {}
    int line;
};

// The words as a file writes them (quoted words in quotes), for reports.
std::string joinWords(const std::vector<Word>& words);

// The commands of a scenario text: blank lines and lines starting with "#" are left
// out. Throws ScriptSyntaxError.
std::vector<ScriptLine> parseScript(std::string_view text);

}  // namespace pag::scenario
