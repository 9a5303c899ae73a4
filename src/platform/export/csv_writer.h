#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace pag {

// One cell of a CSV row. A number or a date is written as it stands, unquoted, so the
// spreadsheet reads it as a number or a date; text is always quoted, so the importer's
// "quoted fields as text" keeps codes such as "0001" with their zeros.
struct CsvCell {
    enum class Kind { Text, Number, Date };
    Kind kind = Kind::Text;
    std::string text;

    static CsvCell Text(std::string t) { return {Kind::Text, std::move(t)}; }
    static CsvCell Number(std::string t) { return {Kind::Number, std::move(t)}; }
    static CsvCell Day(std::string t) { return {Kind::Date, std::move(t)}; }
};

// A text cell as the file holds it: quoted, inner quotes doubled, and a leading
// apostrophe before = + - @ tab or carriage return, so a supplier's name can never run
// as a formula in the spreadsheet that opens the file.
std::string CsvTextField(std::string_view text);

// Writes a CSV a pt-BR spreadsheet opens as it is: UTF-8 with BOM, ";" between fields,
// CRLF between rows. Rows stream to a temporary file of their own next to FILE;
// Commit() renames it to FILE, so a failed or abandoned export leaves no half file
// behind (the temporary is removed). Every failure throws std::runtime_error with a Portuguese
// message naming the file.
class CsvWriter {
public:
    explicit CsvWriter(std::string path);
    ~CsvWriter();
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;

    void WriteRow(const std::vector<CsvCell>& cells);
    void Commit();
    long Rows() const { return rows_; }

private:
    [[noreturn]] void failWith(int err);
    void put(std::string_view s);
    void discard() noexcept;

    std::string path_, tmp_;
    std::FILE* file_ = nullptr;
    std::string line_;
    long rows_ = 0;
};

// A number as the CSV holds it: "," decimals, no thousands separators ("-1234,50").
std::string CsvNumber(double value, int decimals);

}  // namespace pag
