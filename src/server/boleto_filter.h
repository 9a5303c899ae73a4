#pragma once

#include <string>
#include <vector>

#include "platform/date.h"
#include "server/sql_conditions.h"

namespace pag::server {

class OperationCall;

// The 24 criteria of GetBoletos, in the order of its arguments.
struct BoletoFilter {
    std::string empresa;        // 1
    std::string fornecedores;   // 2  code list
    std::string filiaisOrigem;  // 3  code list: branch of the boleto's payables
    std::string filiaisLanc;    // 4  code list: branch of the boleto
    std::string tiposBaixa;     // 5  code list
    std::string habilitado;     // 6  "S", "N" or empty
    double valorIni = 0;        // 7
    double valorFin = 0;        // 8
    Date vencIni;               // 9
    Date vencFin;               // 10
    std::string docIni;         // 11
    std::string docFin;         // 12
    std::string bancosBenef;    // 13 code list
    std::string tiposConta;     // 14 code list
    std::string situacao;       // 15 " " or "_00_01..."
    std::string nrRemessa;      // 16
    std::string nrRetorno;      // 17
    std::string statLibNF;      // 18 "L", "B" or empty
    std::string pessoa;         // 19 "T", "J", "F" or "_O_I"
    Date emissIni;              // 20
    Date emissFin;              // 21
    std::string gruposForn;     // 22 code list
    std::string orcaIni;        // 23
    std::string orcaFin;        // 24
};

// Reads the 24 arguments of GetBoletos.
BoletoFilter boletoFilterFromArgs(const OperationCall& call);

// The conditions of the filter on the boleto query's aliases (boleto_query.h). Blank
// lists, a value range 0 to 0, empty dates and blank numbers restrict nothing;
// a lone blank situation means every situation.
SqlConditions boletoFilterConditions(const BoletoFilter& f);

}  // namespace pag::server
