// Writing the seed's rows, and what is added once the boletos exist.
#include <cmath>
#include <cstdio>

#include "server/seed/boleto_seeder.h"
#include "server/seed/demo_seed.h"

namespace pag::server {

namespace {
Value dateOrNull(Date d) {
    return d.isEmpty() ? Value() : Value(d);
}
}  // namespace

void BoletoSeeder::write(const SeedBoleto& b, const std::string& tipoCtPagar, double adjustment,
                         bool withPayable) {
    double finalValue = b.valorFinal;
    // A boleto with adjustments: an increase and a discount, the net value follows.
    const double increase = adjustment > 0 ? std::round(b.valor * 2.0) / 100.0 : 0;
    const double discount = adjustment > 0 ? std::round(b.valor * 5.0) / 100.0 : 0;
    finalValue = std::round((finalValue + increase - discount) * 100.0) / 100.0;
    boletos_.row({b.filial,
                  b.lancamento,
                  b.empresa,
                  b.fornecedor,
                  b.parcela,
                  b.origem,
                  b.motivoParc,
                  b.valor,
                  b.peMulta,
                  b.vrMulta,
                  b.peMora,
                  b.vrMora,
                  finalValue,
                  dateOrNull(b.entrada),
                  dateOrNull(b.emissao),
                  dateOrNull(b.vencimento),
                  dateOrNull(b.vencimento),
                  b.habilitado,
                  b.tipoBaixa,
                  b.status,
                  b.real,
                  b.filialReal,
                  b.lancReal,
                  b.bancoBolp,
                  b.agenciaBolp,
                  b.contaBolp,
                  b.reduCont,
                  b.barra,
                  b.linha,
                  b.motivoPror,
                  b.nrLancamento,
                  b.situacao,
                  b.remessa,
                  b.retorno,
                  b.tipoConta,
                  b.antecipacao,
                  b.bloqueio,
                  b.notaFiscal,
                  b.receitaGuia,
                  b.dtApuracao,
                  b.refGuia,
                  b.vrOutras,
                  b.lacre,
                  b.digLacre,
                  b.percTrib,
                  b.notific,
                  b.orcaEvento,
                  b.orcaSeq,
                  b.orcaFilial,
                  b.idChavePix,
                  b.chavePix,
                  b.dsChavePix,
                  b.qrPix});
    ++rows_;
    if (adjustment > 0) {
        adjustments_.row({b.filial, b.lancamento, "0001", increase, "M"});
        adjustments_.row({b.filial, b.lancamento, "0010", discount, "M"});
    }
    if (withPayable)
        payable(b, b.filial, b.lancamento, b.parcela == "00" ? "01" : b.parcela, b.valor,
                finalValue, tipoCtPagar, Value(), Value());
}

void BoletoSeeder::payable(const SeedBoleto& b, const std::string& boletoFilial,
                           const std::string& boletoLanc, const std::string& parcela,
                           double original, double atual, const std::string& tipoCtPagar,
                           const Value& origFilial, const Value& origLanc) {
    // Payables of the company "01" come from either of its branches.
    std::string filial = b.filial;
    if (b.empresa == "01" && (rows_ % 4) == 0) filial = b.filial == "0001" ? "0002" : "0001";
    const std::string invoice = b.notaFiscal.asString();
    char description[120];
    std::snprintf(description, sizeof description, "NF %s PARC %s", invoice.c_str(),
                  parcela.c_str());
    payables_.row({filial,
                   "NF" + invoice.substr(invoice.size() > 8 ? invoice.size() - 8 : 0),
                   "01",
                   parcela,
                   b.empresa,
                   b.fornecedor,
                   boletoFilial,
                   boletoLanc,
                   origFilial,
                   origLanc,
                   dateOrNull(b.vencimento),
                   dateOrNull(b.vencimento),
                   original,
                   atual,
                   std::string(description),
                   tipoCtPagar,
                   b.notaFiscal,
                   rows_ % 3 == 0 ? Value("1") : Value(),
                   Value(30),
                   "210101"});
}

void BoletoSeeder::finish() {
    // Advances and return notes available for some suppliers of company "01".
    TableWriter adv(db_, "ADIANTFORN",
                    {"CDFILIAL", "NRLANCTONF", "NRSEQVENPAG", "NRPARCELAPAG", "CDEMPRESA",
                     "CDFORNECED", "DTATUAVENPAG", "VRORIGINAL", "VRDISPONIVEL"});
    TableWriter dev(
        db_, "NFDEVOLUCAO",
        {"FILIDEVOL", "NRNFDEVOL", "CDSERIEDEVOL", "FILICOMPRA", "NRNFCOMPRA", "CDSERIECOMPRA",
         "CDEMPRESA", "CDFORNECED", "DTEMISSAO", "VRNFDEVOL", "VRDISPONIVEL"});
    int n = 0;
    for (int supplier : {1, 2, 8, 13}) {
        for (int k = 1; k <= 2; ++k) {
            ++n;
            char nr[16];
            std::snprintf(nr, sizeof nr, "AD%08d", n);
            const double original = 500.0 * k + supplier * 10;
            adv.row({"0001", std::string(nr), "01", "01", "01", demoSupplierCode(supplier),
                     today_.addDays(-10 * k), original, k == 1 ? original : original / 2});
            std::snprintf(nr, sizeof nr, "%010d", 880000 + n);
            dev.row({"0001", std::string(nr), "1", "0001", "00" + std::to_string(10000 + n), "1",
                     "01", demoSupplierCode(supplier), today_.addDays(-5 * k), 120.0 * k,
                     k == 1 ? 120.0 : 60.0});
        }
    }
    // Monthly budget of company "01": the current month nearly used up, the others
    // with room. Company "02" has no budget (not controlled).
    // The month as text of the due date, read the same way from SQLite's text dates and
    // PostgreSQL's DATE columns.
    Statement budget =
        db_.prepare(R"(INSERT INTO ORCAFINA (CDEMPRESA, NRANO, NRMES, VRORCADO, VRUTILIZADO)
SELECT CDEMPRESA, NRANO, NRMES,
       CASE WHEN NRANO = :ANO AND NRMES = :MES
            THEN ROUND(SUM(VRFINALBPAG), 2) + 500 ELSE ROUND(SUM(VRFINALBPAG) * 1.5, 2) END,
       ROUND(SUM(VRFINALBPAG), 2)
  FROM (SELECT CDEMPRESA, VRFINALBPAG,
               CAST(SUBSTR(CAST(DTVENBOLPAG AS TEXT), 1, 4) AS INTEGER) AS NRANO,
               CAST(SUBSTR(CAST(DTVENBOLPAG AS TEXT), 6, 2) AS INTEGER) AS NRMES
          FROM BOLETPAGAR
         WHERE CDEMPRESA = '01' AND IDSTATBPAG = 'A' AND NRLANBOLREAL IS NULL) B
 GROUP BY CDEMPRESA, NRANO, NRMES)",
                    {{"ANO", Value(today_.year())}, {"MES", Value(today_.month())}});
    budget.execute();
    Statement seq = db_.prepare("UPDATE SEQLANBOLPAG SET NRULTLANC = :N WHERE CDFILIAL = :F");
    for (int b = 1; b <= 3; ++b) {
        char filial[8];
        std::snprintf(filial, sizeof filial, "%04d", b);
        seq.bind("N", Value(launch_[b]));
        seq.bind("F", Value(std::string(filial)));
        seq.execute();
        seq.reset();
    }
}

}  // namespace pag::server
