#include "server/seed/seed_barcodes.h"

#include <cstdio>

#include "contracts/lib02800.h"

namespace pag::server {

namespace {
std::string digits(long long n, int width) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*lld", width, n);
    return buf;
}
}  // namespace

int dueDateFactor(Date due) {
    int f = due - Date::fromYmd(1997, 10, 7);
    while (f > 9999)
        f -= 9000;
    return f;
}

std::string bankBarcode(const std::string& bank, Date due, long long valueCents,
                        const std::string& freeField25) {
    const std::string rest = digits(dueDateFactor(due), 4) + digits(valueCents, 10) + freeField25;
    const std::string head = bank + "9";
    const char dv = Mod11(head + rest, Mod11Rule::Bank);
    return head + dv + rest;
}

std::string collectionBarcode(long long valueCents, const std::string& rest29) {
    const std::string head = "856";
    const std::string rest = digits(valueCents, 11) + rest29;
    const char dv = collectionCheckDigit(head + rest, '6');
    return head + dv + rest;
}

std::string digitableLine(const std::string& barcode) {
    return TransformaBarraLinhaDigi(barcode);
}

}  // namespace pag::server
