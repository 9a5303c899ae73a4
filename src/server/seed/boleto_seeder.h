#pragma once

#include <string>

#include "platform/date.h"
#include "platform/sql/database.h"
#include "server/seed/table_writer.h"

namespace pag::server {

// One boleto row as the seed writes it (BOLETPAGAR columns; null when not set).
struct SeedBoleto {
    std::string filial, lancamento, empresa, fornecedor;
    std::string parcela = "00";
    Value origem, motivoParc, tipoBaixa, reduCont, bancoBolp, agenciaBolp, contaBolp;
    double valor = 0, valorFinal = 0;
    Value peMulta, vrMulta, peMora, vrMora;
    Date vencimento, emissao, entrada;
    std::string habilitado = "N", status = "A", real = "N", situacao = "00";
    Value filialReal, lancReal, barra, linha, motivoPror, remessa, retorno, antecipacao;
    Value bloqueio, notaFiscal, nrLancamento, orcaEvento, orcaSeq, orcaFilial;
    std::string tipoConta = "1";
    Value receitaGuia, dtApuracao, refGuia, vrOutras, lacre, digLacre, percTrib, notific;
    Value idChavePix, chavePix, dsChavePix, qrPix;
};

// Writes boletos in the shapes the screens have to handle, with their payables,
// adjustments, anticipations, compensations, advances, return notes and budget.
// Launch numbers run per branch from 1.
class BoletoSeeder {
public:
    BoletoSeeder(Database& db, Date today);
    // Adds shapes until at least `rows` boleto rows were written.
    void generate(int rows);
    // Advances, return notes, the budget and the launch-number sequences.
    void finish();
    int rowsWritten() const { return rows_; }

private:
    std::string nextLaunch(const std::string& filial);
    void shape(int i);
    SeedBoleto base(int i, int supplier);
    void plain(int i, int kind);
    void installments(int i);
    void realBoleto(int i);
    void write(const SeedBoleto& b, const std::string& tipoCtPagar, double adjustment = 0,
               bool withPayable = true);
    void payable(const SeedBoleto& b, const std::string& boletoFilial,
                 const std::string& boletoLanc, const std::string& parcela, double original,
                 double atual, const std::string& tipoCtPagar, const Value& origFilial,
                 const Value& origLanc);
    void withBarcode(SeedBoleto& b, int i) const;
    void withCollectionBarcode(SeedBoleto& b, int i) const;

    Database& db_;
    Date today_;
    TableWriter boletos_, payables_, adjustments_, anticipations_, compensated_;
    int rows_ = 0;
    int launch_[4] = {0, 0, 0, 0};
    int invoice_ = 0;
};

}  // namespace pag::server
