#pragma once

#include <cstdint>
#include <string>

#include "platform/dataset/packet.h"
#include "platform/sql/database.h"
#include "server/boleto_state.h"

namespace pag::server {

// Deductions: a discount adjustment whose type deducts supplier advances (IDTPAJPAGAR
// "A") or return notes ("D"). The screen sends, with the adjustment, the full content
// of its detail dataset (cdsAdiantamento or cdsDevolucao): one row per advance or note
// used, naming the boleto (FILIALBOLPAG, NRLANBOLPAG), the adjustment type (CDAJUCTPAG)
// and the amount taken (VRDESCONTO).

enum class DeductionKind { Advance, ReturnNote };

// Takes the amounts the detail rows of this adjustment name from the advances or notes
// (lowering VRDISPONIVEL) and records them (AJBOLPAGADIA / AJBOLPAGDEVOL). Rows of the
// detail that name another boleto or type are not this adjustment's and are left alone.
// Refuses (nothing taken) when the rows do not add up to the adjustment's amount, name
// the same advance or note twice, name one that is not the boleto's supplier's, or take
// more than is still available (another user may have used it meanwhile).
void consumeDeduction(Database& db, DeductionKind kind, const BoletoState& boleto,
                      const std::string& tipo, int64_t amount, const Packet& detail);

// Gives back what the adjustment took (VRDISPONIVEL raised again) and removes its
// detail rows: done before the adjustment itself is removed.
void giveBackDeduction(Database& db, const std::string& filial, const std::string& lancamento,
                       const std::string& tipo);

}  // namespace pag::server
