#include "platform/export/csv_writer.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/format.h"

namespace pag {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool startsLikeFormula(std::string_view text) {
    if (text.empty()) return false;
    switch (text.front()) {
        case '=':
        case '+':
        case '-':
        case '@':
        case '\t':
        case '\r':
            return true;
        default:
            return false;
    }
}

std::string reason(int err) {
    if (err == ENOSPC) return "não há espaço no disco";
    if (err == EACCES || err == EPERM) return "sem permissão de gravação";
    if (err == ENOENT) return "a pasta não existe";
    if (err == EROFS) return "o disco é somente leitura";
    if (err == EDQUOT) return "a cota de disco acabou";
    return "erro de gravação (código " + std::to_string(err) + ")";
}

}  // namespace

std::string CsvTextField(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 3);
    out += '"';
    if (startsLikeFormula(text)) out += '\'';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string CsvNumber(double value, int decimals) {
    std::string format = "0";
    if (decimals > 0) format += "." + std::string(static_cast<size_t>(decimals), '0');
    return formatFloat(format, value);
}

CsvWriter::CsvWriter(std::string path) : path_(std::move(path)) {
    // A name of its own next to FILE (the rename stays on one disk), never one that
    // another file or another export already uses.
    std::string name = path_ + ".XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) failWith(errno);
    tmp_ = std::move(name);
    ::fchmod(fd, 0644);
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        const int err = errno;
        ::close(fd);
        failWith(err);
    }
    put(kBom);
}

CsvWriter::~CsvWriter() {
    discard();
}

void CsvWriter::discard() noexcept {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    if (!tmp_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(tmp_, ignored);
        tmp_.clear();
    }
}

void CsvWriter::failWith(int err) {
    discard();
    throw std::runtime_error("Não foi possível gravar o arquivo " + path_ + ": " +
                             reason(err ? err : EIO) + ".");
}

void CsvWriter::put(std::string_view s) {
    if (std::fwrite(s.data(), 1, s.size(), file_) != s.size()) failWith(errno ? errno : EIO);
}

void CsvWriter::WriteRow(const std::vector<CsvCell>& cells) {
    if (!file_) throw std::logic_error("CsvWriter: arquivo já fechado");
    line_.clear();
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i) line_ += ';';
        const CsvCell& c = cells[i];
        if (c.kind == CsvCell::Kind::Text)
            line_ += CsvTextField(c.text);
        else
            line_ += c.text;
    }
    line_ += "\r\n";
    put(line_);
    ++rows_;
}

void CsvWriter::Commit() {
    if (!file_) throw std::logic_error("CsvWriter: arquivo já fechado");
    const bool flushed = std::fflush(file_) == 0 && !std::ferror(file_);
    int err = flushed ? 0 : (errno ? errno : EIO);
    std::FILE* f = std::exchange(file_, nullptr);
    if (std::fclose(f) != 0 && !err) err = errno ? errno : EIO;
    if (err) failWith(err);
    std::error_code ec;
    std::filesystem::rename(tmp_, path_, ec);
    if (ec) failWith(ec.value());
    tmp_.clear();
}

}  // namespace pag
