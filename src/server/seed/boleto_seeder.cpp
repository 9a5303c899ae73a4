#include "server/seed/boleto_seeder.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "server/seed/demo_seed.h"
#include "server/seed/seed_barcodes.h"

namespace pag::server {

namespace {

const std::vector<std::string> kBoletoColumns = {
    "CDFILIAL",        "NRLANBOLPAG",     "CDEMPRESA",       "CDFORNECED",      "NRPARCBOLPAG",
    "NRORIGBOLPAG",    "CDMOTIPARC",      "VRBOLPAG",        "VRPEMULBPAG",     "VRMULTABPAG",
    "VRPEMORBPAG",     "VRMORDIABPAG",    "VRFINALBPAG",     "DTENTRSAID",      "DTEMISSAO",
    "DTVENBOLPAG",     "DTATUAVENBOLPAG", "IDHABIBPAG",      "CDTPBAIXAPAG",    "IDSTATBPAG",
    "IDBPAGREAL",      "CDFILIREAL",      "NRLANBOLREAL",    "CDBANCBOLP",      "CDAGENBOLP",
    "CDCCORBOLP",      "CDREDUCONT",      "CDBARRAPAG",      "DSLINHBARPAG",    "CDMOTIPROR",
    "NRLANCAMENTO",    "IDSITUCNABP",     "NRCNABPAGREM",    "NRCNABPAGRET",    "IDTPCTPAGAR",
    "NRLANCANTECIPA",  "IDBLOQNFFIN",     "NRNOTAFISC",      "CDRECEITAGUIA",   "DTAPURACGUIA",
    "NRREFEGUIA",      "VROUTRENTGUIA",   "NRLACRCONECTSOC", "NRDIGICONECTSOC", "VRPERCENTTRIB",
    "NRPARCELNOTIFIC", "NRORCAEVENTO",    "NRSEQORCAEVE",    "NF_ORCAMENTO",    "IDCHAVEPIX",
    "CHAVEPIX",        "DSCHAVEPIX",      "CODEQRPIX"};

const std::vector<std::string> kPayableColumns = {
    "CDFILIAL",     "NRLANCTONF",   "NRSEQVENPAG", "NRPARCELAPAG",   "CDEMPRESA",
    "CDFORNECED",   "CDFILIBPAG",   "NRLANBOLPAG", "CDFILIBPAGORIG", "NRLANBOLPAGORIG",
    "DTATUAVENPAG", "DTORIGVENPAG", "VRORIGPAG",   "VRATUAPAG",      "DSCONTAPAG",
    "CDTPCTPAGAR",  "NRNOTAFISC",   "CDSERIEENTR", "QTDIASVENPAG",   "CDCLASSFINA"};

double cents(double v) {
    return std::round(v * 100.0) / 100.0;
}

std::string digits(long long n, int width) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*lld", width, n);
    return buf;
}

int branchIndex(const std::string& filial) {
    return filial.back() - '0';
}

}  // namespace

BoletoSeeder::BoletoSeeder(Database& db, Date today)
    : db_(db),
      today_(today),
      boletos_(db, "BOLETPAGAR", kBoletoColumns),
      payables_(db, "CNTPAGAR", kPayableColumns),
      adjustments_(db, "AJBOLPAG",
                   {"CDFILIAL", "NRLANBOLPAG", "CDAJUCTPAG", "VRAJBOLPAG", "IDORIGAJBPAG"}),
      anticipations_(db, "ANTECIPACAO",
                     {"CDFILIAL", "NRLANCANTECIPA", "CDEMPRESA", "CDFORNECED", "VRANTECIPA",
                      "DTVENANTECIPA", "CDBARRAPAG"}),
      compensated_(db, "COMPENSABOL", {"NRCOMPENSA", "CDFILIAL", "NRLANBOLPAG"}) {
    db_.prepare(
           "INSERT INTO COMPENSACAO (NRCOMPENSA, CDEMPRESA, DTCOMPENSA, IDSTATCOMP) VALUES "
           "('0000000001', '01', :HOJE, 'A')",
           {{"HOJE", Value(today_)}})
        .execute();
}

std::string BoletoSeeder::nextLaunch(const std::string& filial) {
    return digits(++launch_[branchIndex(filial)], 10);
}

void BoletoSeeder::generate(int rows) {
    for (int i = 0; rows_ < rows; ++i)
        shape(i);
}

SeedBoleto BoletoSeeder::base(int i, int supplier) {
    SeedBoleto b;
    const bool second = i % 3 == 2;
    b.empresa = second ? "02" : "01";
    b.filial = second ? "0003" : ((i / 3) % 2 ? "0002" : "0001");
    b.lancamento = nextLaunch(b.filial);
    b.fornecedor = demoSupplierCode(supplier);
    b.valor = cents(120.0 + static_cast<double>((i * 7919LL) % 480000) / 100.0);
    b.valorFinal = b.valor;
    // Every tenth boleto is due today, so the default filter of the day shows some.
    b.vencimento = i % 10 == 0 ? today_ : today_.addDays((i * 13) % 45 - 12);
    b.emissao = b.vencimento.addDays(-25);
    b.entrada = b.vencimento.addDays(-20);
    b.notaFiscal = digits(1000 + ++invoice_, 7);
    b.nrLancamento = digits(500000 + i, 10);
    const std::array<const char*, 4> accounts01 = {"001", "002", "003", "004"};
    const std::array<const char*, 2> accounts02 = {"001", "002"};
    if (i % 6 != 5)
        b.reduCont = second ? accounts02[static_cast<size_t>(i) % 2]
                            : accounts01[static_cast<size_t>(i) % 4];
    if (i % 4 == 1) {
        b.peMulta = 2.0;
        b.peMora = 0.033;
    }
    if (i % 8 == 3) {
        b.orcaEvento = digits(100 + i % 40, 10);
        b.orcaSeq = "01";
        b.orcaFilial = b.filial;
    }
    return b;
}

void BoletoSeeder::withBarcode(SeedBoleto& b, int i) const {
    const std::array<const char*, 6> banks = {"001", "341", "237", "104", "033", "756"};
    b.barra = bankBarcode(banks[static_cast<size_t>(i) % banks.size()], b.vencimento,
                          static_cast<long long>(std::llround(b.valor * 100)),
                          digits(9000000000000LL + i * 7LL, 25));
    b.linha = digitableLine(b.barra.asString());
}

void BoletoSeeder::withCollectionBarcode(SeedBoleto& b, int i) const {
    b.barra = collectionBarcode(static_cast<long long>(std::llround(b.valor * 100)),
                                digits(3000000000LL + i, 29));
    b.linha = digitableLine(b.barra.asString());
}

// Shapes of the boletos, one per step of a cycle of twenty.
void BoletoSeeder::shape(int i) {
    switch (i % 20) {
        case 9:
            installments(i);
            return;
        case 10:
            realBoleto(i);
            return;
        default:
            plain(i, i % 20);
            return;
    }
}

void BoletoSeeder::plain(int i, int kind) {
    int supplier = (i * 7) % demoSupplierCount() + 1;
    if (kind == 8) supplier = 12;   // tax guides are paid to the tax authority
    if (kind == 18) supplier = 17;  // a bank financing: a loan
    SeedBoleto b = base(i, supplier);
    std::string tipoCt = "000001";
    double adjustment = 0;
    switch (kind) {
        case 0:
        case 1:
            b.tipoBaixa = "01";
            withBarcode(b, i);
            if (i % 40 == 0) b.habilitado = "S";
            break;
        case 2:
            b.tipoBaixa = "10";
            b.idChavePix = "02";
            b.chavePix = "financeiro" + std::to_string(supplier) + "@fornecedor.com.br";
            b.dsChavePix = "E-MAIL FINANCEIRO";
            break;
        case 3:
            b.tipoBaixa = "11";
            b.qrPix = "00020126580014BR.GOV.BCB.PIX0136" + digits(i, 8) + "5204000053039865802BR";
            break;
        case 4:  // account credit at the paying account's own bank
            b.tipoBaixa = "02";
            b.reduCont = b.empresa == "01" ? "002" : "001";
            b.bancoBolp = b.empresa == "01" ? "341" : "104";
            b.agenciaBolp = "0912";
            b.contaBolp = digits(45000 + i, 7) + "1";
            b.habilitado = i % 3 == 0 ? "S" : "N";
            break;
        case 5:  // DOC to another bank, under the limit
            b.tipoBaixa = "03";
            b.valor = b.valorFinal = cents(300.0 + (i % 4000));
            b.bancoBolp = "237";
            b.agenciaBolp = "2856";
            b.contaBolp = digits(98000 + i, 7) + "X";
            break;
        case 6:
            b.tipoBaixa = i % 2 ? "04" : "06";
            b.bancoBolp = "033";
            b.agenciaBolp = "4410";
            b.contaBolp = digits(13000000 + i, 8);
            break;
        case 7: {
            const std::array<const char*, 3> cheques = {"07", "08", "09"};
            b.tipoBaixa = cheques[static_cast<size_t>(i / 20) % 3];
            break;
        }
        case 8: {
            const std::array<const char*, 6> guides = {"12", "13", "14", "15", "16", "17"};
            b.tipoBaixa = guides[static_cast<size_t>(i / 20) % 6];
            tipoCt = "000004";
            withCollectionBarcode(b, i);
            b.receitaGuia = "5952";
            b.dtApuracao = Date::fromYmd(today_.year(), today_.month(), 1).addDays(-1);
            b.refGuia = digits(i, 17);
            b.vrOutras = cents(b.valor * 0.2);
            b.percTrib = 4.65;
            if (b.tipoBaixa.asString() == "14") {
                b.lacre = digits(i, 9);
                b.digLacre = "07";
            }
            if (b.tipoBaixa.asString() == "17") b.notific = digits(i, 13);
            break;
        }
        case 11:
        case 12:
        case 13:
            b.tipoBaixa = "01";
            withBarcode(b, i);
            b.habilitado = "S";
            b.situacao = kind == 11 ? "10" : kind == 12 ? "20" : "01";
            b.remessa = digits(1200 + i / 20, 10);
            if (kind != 11) b.retorno = digits(3400 + i / 20, 10);
            break;
        case 14:
            b.tipoBaixa = "01";
            withBarcode(b, i);
            b.bloqueio = "B";
            break;
        case 15: {
            b.tipoBaixa = "01";
            withBarcode(b, i);
            b.antecipacao = digits(700000 + i, 10);
            anticipations_.row(
                {b.filial, b.antecipacao, b.empresa, b.fornecedor, b.valor, b.vencimento, b.barra});
            break;
        }
        case 16:
            b.tipoBaixa = "02";
            break;
        case 17:
            b.valor = b.valorFinal = 0;
            break;
        case 18:
            b.tipoConta = "3";
            tipoCt = "000003";
            b.tipoBaixa = "09";
            break;
        case 19:
            b.tipoConta = "2";
            tipoCt = "000002";
            b.tipoBaixa = "02";
            adjustment = 1;
            break;
        default:
            break;
    }
    if (i % 50 == 49) b.status = "B";  // settled: never listed
    write(b, tipoCt, adjustment);
    if (kind == 16) compensated_.row({"0000000001", b.filial, b.lancamento});
}

void BoletoSeeder::installments(int i) {
    SeedBoleto first = base(i, (i * 3) % demoSupplierCount() + 1);
    const double total = first.valor;
    const double part = cents(total / 3);
    const std::string origem = first.lancamento;
    const std::string invoice = first.notaFiscal.asString();
    for (int n = 1; n <= 3; ++n) {
        SeedBoleto b = first;
        if (n > 1) b.lancamento = nextLaunch(b.filial);
        b.parcela = digits(n, 2);
        b.origem = origem;
        b.motivoParc = "01";
        b.vencimento = first.vencimento.addDays(30 * (n - 1));
        b.valor = b.valorFinal = n < 3 ? part : cents(total - 2 * part);
        b.tipoBaixa = "01";
        withBarcode(b, i + n);
        b.notaFiscal = invoice;
        write(b, "000001");
    }
}

void BoletoSeeder::realBoleto(int i) {
    SeedBoleto real = base(i, (i * 5) % demoSupplierCount() + 1);
    SeedBoleto a = real, b = real;
    a.lancamento = nextLaunch(real.filial);
    b.lancamento = nextLaunch(real.filial);
    a.valor = a.valorFinal = cents(real.valor / 2);
    b.valor = b.valorFinal = cents(real.valor - a.valor);
    b.notaFiscal = digits(1000 + ++invoice_, 7);
    real.real = "S";
    real.habilitado = "S";
    real.tipoBaixa = "01";
    withBarcode(real, i);
    write(real, "000001", 0, false);
    // The boletos it absorbed stay, pointing to it; their payables now belong to it.
    for (SeedBoleto* part : {&a, &b}) {
        part->filialReal = real.filial;
        part->lancReal = real.lancamento;
        write(*part, "000001", 0, false);
        payable(*part, real.filial, real.lancamento, "01", part->valor, part->valorFinal, "000001",
                part->filial, part->lancamento);
    }
}

}  // namespace pag::server
