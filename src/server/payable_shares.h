#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/date.h"
#include "platform/sql/database.h"

namespace pag::server {

// The payables of a boleto add up to its net value: a payable's VRATUAPAG carries its
// part of the boleto's adjustments (the screen shows VRATUAPAG - VRORIGPAG as the
// payable's adjustment), and the installments of a split set each pay their own part of
// the payables. These functions keep it so when values move.

// Splits `total` cents into parts proportional to `weights` (largest remainder): the
// parts add up to `total` exactly and, while |total| is at most the sum of the weights,
// no part exceeds its weight in size. With all weights 0 everything goes to the first
// part; no weights, no parts.
std::vector<int64_t> apportion(int64_t total, const std::vector<int64_t>& weights);

// Spreads a change of the boleto's net value over its open payables in proportion to
// their current values. A payable never goes below zero: a decrease larger than what
// the open payables hold takes them to zero.
void spreadOverPayables(Database& db, const std::string& filial, const std::string& lancamento,
                        int64_t delta);

// One boleto of a split set, as it receives payables.
struct InstallmentShare {
    std::string lancamento;
    Date vencimento;
    int64_t valor = 0;  // net value, cents
};

// Distributes the payables of the boleto being split (parts[0], which keeps its row)
// over the installments in order: each installment takes payables, in the order
// settled first and then by key, until it holds its part of their total; a payable
// that crosses from one installment to the next is divided, the new payable row getting
// the next free installment number of the payable (NRPARCELAPAG) and remembering the
// one it came from (NRPARCELAPAGORIG). Every open payable of an installment takes the
// installment's due date. Refuses dividing or moving a settled payable.
void distributePayables(Database& db, const std::string& filial,
                        const std::vector<InstallmentShare>& parts);

// The least net value the first installment may keep when the boleto is split: the
// settled payables cannot be divided or moved, so it keeps at least their value
// (scaled like the payables' total to the net value when they differ).
int64_t leastFirstInstallment(Database& db, const std::string& filial,
                              const std::string& lancamento, int64_t valorFinal);

// Gives the payables of a removed installment to the one before it: a payable divided
// off from one the receiving installment still holds open is merged back into it; any
// other payable moves, taking the receiving installment's due date when open.
void returnPayables(Database& db, const std::string& filial, const std::string& from,
                    const std::string& to, Date toDue);

}  // namespace pag::server
