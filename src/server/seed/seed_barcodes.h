#pragma once

#include <string>

#include "platform/date.h"

namespace pag::server {

// Valid boleto barcodes for demo data, built by the published layouts.

// Bank slip: bank (3 digits), currency 9, general check digit, due-date factor,
// value in cents (10 digits) and a free field of 25 digits.
std::string bankBarcode(const std::string& bank, Date due, long long valueCents,
                        const std::string& freeField25);

// Collection slip of a government body (segment 5) carrying its effective value
// (value type 6, modulo 10): value in cents (11 digits) and 29 more digits.
std::string collectionBarcode(long long valueCents, const std::string& rest29);

// The printed digitable line of a barcode.
std::string digitableLine(const std::string& barcode);

// The due-date factor: days since 07/10/1997, restarting at 1000 after 9999.
int dueDateFactor(Date due);

}  // namespace pag::server
