#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pag {

// The :NAME parameters of a SQL text, each once (names compared case-insensitively),
// in the order they first appear. Quoted text ('...', "...", [...], `...`), comments
// (-- and /* */) and "::" casts are skipped, so ':' inside a literal is not a
// parameter. Known without a database, so a query's parameters can be set before it
// is connected.
std::vector<std::string> namedParameters(std::string_view sql);

// Calls f(offset, length, name) for every :NAME occurrence of the text (a name used
// twice is reported twice); offset and length cover the ':' and the name. A
// positional '?' comes with an empty name.
void forEachParameter(std::string_view sql,
                      const std::function<void(size_t, size_t, std::string_view)>& f);

// The text with each :NAME replaced by $n, n counting names by first appearance (a
// name used twice takes the same $n; each '?' a $n of its own, with an empty name),
// for servers that number their parameters.
struct NumberedSql {
    std::string text;
    std::vector<std::string> names;  // names[n - 1] is $n
};
NumberedSql numberParameters(std::string_view sql);

// What follows the first ';' outside quotes and comments, or empty when there is no
// such ';'; the whole text is "blank" when it has nothing but blanks and comments.
// Calls f(word) for every word (a name or keyword) outside quotes and comments.
void forEachWord(std::string_view sql, const std::function<void(std::string_view)>& f);

std::string_view afterFirstStatement(std::string_view sql);
bool onlyBlanksOrComments(std::string_view sql);

}  // namespace pag
