#pragma once

// Helpers shared by the source files of the boleto screen.

#include <initializer_list>
#include <string>
#include <string_view>

#include "contracts/client/busy.h"
#include "contracts/client/check_result.h"
#include "contracts/client/suite_context.h"
#include "contracts/consiste.h"
#include "platform/dataset/client_dataset.h"
#include "platform/date.h"
#include "platform/ui/dispatch.h"

namespace pag {

// A dataset state in which a row is being changed (edit or insert).
inline bool editando(DataSetState s) {
    return s == DataSetState::Edit || s == DataSetState::Insert;
}
inline bool editando(const ClientDataSet& ds) {
    return editando(ds.State());
}

// Whether an operation code is one of the codes given.
inline bool umDe(std::string_view code, std::initializer_list<std::string_view> codes) {
    for (std::string_view c : codes)
        if (code == c) return true;
    return false;
}

// The operation codes of the settlement types paid as tax guides.
inline bool codigoGuia(std::string_view code) {
    return umDe(code, {"G", "H", "I", "U", "V", "K", "J", "X"});
}

// The navigator bar's text of a boleto: "dd/mm/yyyy NAME 1.234,56"; empty without a
// due date.
std::string TextoNavegadorBoleto(Date vencimento, const std::string& fantasia, double valor);

// The document of a payable: the invoice number, with "/series" when it has one.
std::string DocumentoConta(const std::string& notaFiscal, const std::string& serie);

// The adjustment of a payable: its current value less its original one, in cents.
double AjusteConta(double valorAtual, double valorOriginal);

// The identification of a payable: sequence "." installment ("01.02").
std::string IdentificacaoConta(const std::string& sequencia, const std::string& parcela);

// How the screen runs the filter dialog: shown modally, or confirmed without showing.
inline constexpr const char* kBotaoFiltro = "BOTAO_FILTRO";
inline constexpr const char* kEscondeFiltro = "ESCONDE_FILTRO";

// The system code of the processing-date lock of this module.
inline constexpr const char* kSistemaPag = "Pag";
// The grid's mark column.
inline constexpr const char* kMarca = "IDMARCADO";

// The shared first-activation flag: set when the module is loaded, cleared by the
// first activation of the screen.
extern bool boPrimVez;

}  // namespace pag
