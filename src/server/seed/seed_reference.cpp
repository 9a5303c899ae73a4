// Reference data of the demo: what the suite's other modules would have registered.
#include <array>
#include <cstdio>

#include "server/seed/demo_seed.h"
#include "server/seed/table_writer.h"
#include "server/seed/tax_numbers.h"

namespace pag::server {

namespace {

using Row = std::vector<Value>;

void companies(Database& db) {
    TableWriter e(db, "EMPRESA", {"CDEMPRESA", "NMEMPRESA", "NRINSJUREMPR"});
    e.row({"01", "COMERCIAL PAULISTA DE ALIMENTOS LTDA", cnpjFromBase("457231890001")});
    e.row({"02", "INDUSTRIA MINEIRA DE EMBALAGENS S.A.", cnpjFromBase("193847560001")});
    TableWriter f(db, "FILIAL", {"CDFILIAL", "NMFILIAL", "CDEMPRESA"});
    f.row({"0001", "MATRIZ SAO PAULO", "01"});
    f.row({"0002", "FILIAL CAMPINAS", "01"});
    f.row({"0003", "MATRIZ BELO HORIZONTE", "02"});
    TableWriter p(db, "PARAMFILIAL", {"CDFILIAL", "NRTAMNUMNFUT"});
    for (const char* b : {"0001", "0002", "0003"})
        p.row({b, Value(7)});
    TableWriter s(db, "SEQLANBOLPAG", {"CDFILIAL", "NRULTLANC"});
    for (const char* b : {"0001", "0002", "0003"})
        s.row({b, Value(0)});
}

void banks(Database& db) {
    TableWriter b(db, "BANCO", {"CDBANCO", "NMBANCO", "CDPICTCONT", "CDPICTAGEN", "CDBANCCNAB"});
    b.row({"001", "BANCO DO BRASIL", "99999999-a", "9999-a", "001"});
    b.row({"033", "SANTANDER", "99999999-9", "9999", "033"});
    b.row({"104", "CAIXA ECONOMICA FEDERAL", "99999999999-9", "9999", "104"});
    b.row({"237", "BRADESCO", "9999999-a", "9999-a", "237"});
    b.row({"341", "ITAU UNIBANCO", "99999-9", "9999", "341"});
    b.row({"399", "HSBC BANK BRASIL", "999999-99", "9999", "399"});
    b.row({"422", "BANCO SAFRA", "999999999", "99999", "422"});
    b.row({"748", "SICREDI", "99999-9", "9999", "748"});
    // Sicoob remits through the cooperative central bank code of its partner.
    b.row({"756", "SICOOB", "999999999-9", "9999", "756"});
}

void settlementTypes(Database& db) {
    TableWriter t(db, "TIPOBAIXAPAG",
                  {"CDTPBAIXAPAG", "NMTPBAIXAPAG", "IDBAIXAUTILP", "VRMAXDOCCNAB"});
    t.row({"01", "CNAB BOLETO BANCARIO", "B", Value()});
    t.row({"02", "CNAB CREDITO EM CONTA", "C", Value()});
    t.row({"03", "CNAB DOC", "D", Value(4999.99)});
    t.row({"04", "CNAB TED CIP", "T", Value()});
    t.row({"05", "CNAB TED STR", "R", Value()});
    t.row({"06", "TED OUTRA TITULARIDADE", "S", Value()});
    t.row({"07", "EMITIR CHEQUE", "A", Value()});
    t.row({"08", "UTILIZAR CHEQUE", "M", Value()});
    t.row({"09", "NORMAL", "L", Value()});
    t.row({"10", "PIX CHAVE", "F", Value()});
    t.row({"11", "PIX QR CODE", "Z", Value()});
    t.row({"12", "DARF NORMAL", "I", Value()});
    t.row({"13", "GPS", "G", Value()});
    t.row({"14", "FGTS", "U", Value()});
    t.row({"15", "DARF SIMPLES", "H", Value()});
    t.row({"16", "DARJ", "J", Value()});
    t.row({"17", "GARE ICMS SP", "X", Value()});
    t.row({"18", "IPVA", "K", Value()});
    t.row({"19", "DPVAT", "V", Value()});
    t.row({"20", "CONCESSIONARIA", "N", Value()});
    t.row({"21", "TITULO OUTRO BANCO", "Q", Value()});
    t.row({"22", "DEBITO AUTOMATICO", "P", Value()});
    t.row({"23", "CNAB DOC SEM LIMITE", "D", Value(0.0)});
}

void accounts(Database& db) {
    TableWriter c(db, "CONTCORR",
                  {"CDEMPRESA", "CDREDUCONT", "CDBANCO", "CDAGENCIA", "CDCONTCORR", "DSCONTCORR",
                   "CDTPBXCREDCONT", "CDTPBAIXADOC", "CDTPBAIXATED", "VRLIMITEDOC"});
    c.row({"01", "001", "001", "3064X", "00457812", "BB MOVIMENTO", "02", "03", "04", 4999.99});
    c.row({"01", "002", "341", "0912", "0458732", "ITAU PAGAMENTOS", "02", "03", "04", 4999.99});
    c.row({"01", "003", "237", "2856", "0098127", "BRADESCO FORNEC", "02", "03", "05", 3000.0});
    c.row({"01", "004", "756", "3042", "0000123456", "SICOOB CAPITAL", Value(), "03", "04", 0.0});
    c.row({"02", "001", "104", "1644", "0000873421", "CAIXA MOVIMENTO", "02", "03", "04", 4999.99});
    c.row({"02", "002", "033", "4410", "13004567", "SANTANDER PAGTOS", "02", "23", "04", 4999.99});
}

void adjustmentsAndReasons(Database& db) {
    TableWriter a(db, "TIPOAJPAGAR", {"CDAJUCTPAG", "DSAJUCTPAG", "IDAJUCTPAG", "IDTPAJPAGAR"});
    a.row({"0001", "JUROS DE MORA", "A", "N"});
    a.row({"0002", "MULTA POR ATRASO", "A", "N"});
    a.row({"0003", "TAXA BANCARIA", "A", "N"});
    a.row({"0010", "DESCONTO COMERCIAL", "D", "N"});
    a.row({"0011", "ABATIMENTO NEGOCIADO", "D", "N"});
    a.row({"0020", "DESCONTO DE ADIANTAMENTO", "D", "A"});
    a.row({"0030", "DESCONTO DE DEVOLUCAO", "D", "D"});
    TableWriter p(db, "MOTIVOPARC", {"CDMOTIPARC", "DSMOTIPARC"});
    p.row({"01", "RENEGOCIACAO COM FORNECEDOR"});
    p.row({"02", "FLUXO DE CAIXA"});
    p.row({"03", "ACORDO JUDICIAL"});
    TableWriter r(db, "MOTIVOPROR", {"CDMOTIPROR", "DSMOTIPROR"});
    r.row({"01", "ATRASO NA ENTREGA"});
    r.row({"02", "PEDIDO DO FORNECEDOR"});
    r.row({"03", "FERIADO BANCARIO"});
    r.row({"04", "DIVERGENCIA NA NOTA FISCAL"});
    TableWriter t(db, "TIPOCTPAGAR", {"CDTPCTPAGAR", "DSTPCTPAGAR", "IDTPCTPAGAR"});
    t.row({"000001", "FORNECEDORES", "1"});
    t.row({"000002", "ADIANTAMENTO A FORNECEDOR", "2"});
    t.row({"000003", "EMPRESTIMO BANCARIO", "3"});
    t.row({"000004", "IMPOSTOS E TRIBUTOS", "1"});
    t.row({"000005", "SERVICOS DE TERCEIROS", "1"});
}

struct Supplier {
    const char* razao;
    const char* fantasia;
    char tipo;         // J F O I
    const char* base;  // 12 digits (CNPJ) or 9 (CPF); empty for O/I
    const char* grupo;
    const char* descTipo;
    double descPerc;
};

// Names are invented; the tax numbers carry valid check digits.
const Supplier kSuppliers[] = {
    {"ATACADAO DISTRIBUIDORA DE ALIMENTOS LTDA", "ATACADAO DIST", 'J', "758123450001", "MAT", "",
     0},
    {"EMBALAGENS SANTA RITA LTDA", "SANTA RITA", 'J', "112223330001", "MAT", "B", 2.5},
    {"TRANSPORTADORA RODOSUL S.A.", "RODOSUL", 'J', "334455660001", "SRV", "", 0},
    {"CIA PAULISTA DE FORCA E LUZ", "CPFL", 'J', "331708050001", "UTL", "", 0},
    {"SABESP SANEAMENTO BASICO", "SABESP", 'J', "438761210001", "UTL", "", 0},
    {"JOSE CARLOS DE OLIVEIRA", "JOSE CARLOS", 'F', "123456789", "SRV", "", 0},
    {"MARIA APARECIDA DOS SANTOS", "MARIA SANTOS", 'F', "987654321", "SRV", "", 0},
    {"METALURGICA SAO JORGE LTDA", "SAO JORGE", 'J', "556677880001", "MAT", "B", 1.0},
    {"GRAFICA E EDITORA IPIRANGA LTDA", "GRAF IPIRANGA", 'J', "667788990001", "SRV", "", 0},
    {"CONSORCIO OBRA RODOANEL", "CONS RODOANEL", 'O', "", "OBR", "", 0},
    {"ASSOCIACAO BENEFICENTE VIDA", "ASSOC VIDA", 'I', "", "OUT", "", 0},
    {"RECEITA FEDERAL DO BRASIL", "RFB", 'O', "", "TRB", "", 0},
    {"LATICINIOS SERRA AZUL LTDA", "SERRA AZUL", 'J', "778899000001", "MAT", "", 0},
    {"FRIGORIFICO BOA CARNE LTDA", "BOA CARNE", 'J', "889900110001", "MAT", "B", 3.0},
    {"ANA PAULA FERREIRA ME", "ANA PAULA", 'F', "456123789", "SRV", "", 0},
    {"TECNOLOGIA NUVEM DADOS LTDA", "NUVEM DADOS", 'J', "990011220001", "SRV", "", 0},
    {"BANCO DO BRASIL S.A. - FINANCIAMENTO", "BB FINANC", 'J', "000000000001", "FIN", "", 0},
    {"POSTO AVENIDA COMBUSTIVEIS LTDA", "POSTO AVENIDA", 'J', "121314150001", "SRV", "", 0},
    {"D'ANGELO COMERCIO DE BEBIDAS LTDA", "D'ANGELO", 'J', "161718190001", "MAT", "", 0},
    {"PEDRO HENRIQUE ALVES", "PEDRO ALVES", 'F', "321654987", "SRV", "", 0},
};

void suppliers(Database& db) {
    TableWriter g(db, "GRUPFORN", {"CDGRUPFORN", "NMGRUPFORN"});
    g.row({"MAT", "MATERIAS-PRIMAS E MERCADORIAS"});
    g.row({"SRV", "PRESTADORES DE SERVICO"});
    g.row({"UTL", "CONCESSIONARIAS DE SERVICOS PUBLICOS"});
    g.row({"OBR", "OBRAS E CONSORCIOS"});
    g.row({"TRB", "ORGAOS ARRECADADORES"});
    g.row({"FIN", "INSTITUICOES FINANCEIRAS"});
    g.row({"OUT", "OUTROS"});
    TableWriter f(db, "FORNECEDOR",
                  {"CDFORNECED", "NMRAZSOCFORN", "NMFANTFORN", "IDTPIJURFORN", "NRINSJURFORN",
                   "CDGRUPFORN", "IDTPDESCFORN", "VRPEDESCFORN"});
    int n = 0;
    for (const Supplier& s : kSuppliers) {
        ++n;
        Value doc;
        if (s.tipo == 'J') doc = cnpjFromBase(s.base);
        if (s.tipo == 'F') doc = cpfFromBase(s.base);
        f.row({demoSupplierCode(n), s.razao, s.fantasia, std::string(1, s.tipo), doc, s.grupo,
               *s.descTipo ? Value(s.descTipo) : Value(),
               s.descPerc > 0 ? Value(s.descPerc) : Value()});
    }
}

void supplierAccountsAndKeys(Database& db) {
    TableWriter a(
        db, "CCORFORN",
        {"CDFORNECED", "CDBANCFORN", "CDAGENFORN", "CDCCORFORN", "IDTPICNABFOR", "NRINSCNABFOR"});
    const std::array<const char*, 6> banks = {"001", "341", "237", "104", "033", "756"};
    for (int n = 1; n <= demoSupplierCount(); ++n) {
        char agency[16], account[32];
        std::snprintf(agency, sizeof agency, "%04d", 1000 + n * 37);
        std::snprintf(account, sizeof account, "%07d%d", 10000 + n * 913, n % 10);
        a.row({demoSupplierCode(n), banks[static_cast<size_t>(n) % banks.size()], agency, account,
               Value(), Value()});
    }
    // A second account whose remittance registration differs from the supplier's.
    a.row({demoSupplierCode(2), "756", "3042", "00001234565", "J", cnpjFromBase("112223330002")});
    TableWriter k(db, "CHAVEPIXFORN",
                  {"CDFORNECED", "IDCHAVEPIX", "CDCHAVEPIX", "DSCHAVEPIX", "IDCHAVEPIXPREF"});
    k.row({demoSupplierCode(1), "03", cnpjFromBase("758123450001"), "CNPJ ATACADAO", "S"});
    k.row({demoSupplierCode(2), "02", "financeiro@santarita.com.br", "E-MAIL FINANCEIRO", "S"});
    k.row({demoSupplierCode(6), "01", "+5511987654321", "CELULAR JOSE", "S"});
    k.row({demoSupplierCode(7), "04", "7d9f0335-8dcc-4054-9bf9-0dbd61707ec9", "CHAVE ALEATORIA",
           "S"});
    k.row({demoSupplierCode(7), "03", cpfFromBase("987654321"), "CPF MARIA", "N"});
}

void operators(Database& db, Date today) {
    TableWriter o(db, "OPERADOR", {"CDOPERADOR", "NMOPERADOR"});
    o.row({"ADMIN", "ADMINISTRADOR DO SISTEMA"});
    o.row({"OPER01", "OPERADOR FINANCEIRO SAO PAULO"});
    o.row({"OPER02", "OPERADOR SEM PRORROGACAO"});
    TableWriter r(db, "OPEREMPRESA", {"CDOPERADOR", "CDEMPRESA"});
    r.row({"ADMIN", "01"});
    r.row({"ADMIN", "02"});
    r.row({"OPER01", "01"});
    r.row({"OPER02", "01"});
    // Processing-date locks: OPER01 may not change boletos due before today - 15;
    // everybody else before today - 60.
    TableWriter d(db, "DTPROCSIST", {"CDSISTEMA", "CDOPERADOR", "DTPROCLIB"});
    d.row({"Pag", "*", today.addDays(-60)});
    d.row({"Pag", "OPER01", today.addDays(-15)});
    // Extensions in company "01" are restricted to the group of ADMIN and OPER01.
    TableWriter c(db, "CONTPRORVENC", {"CDEMPRESA", "IDCONTROLA", "DTINICIO"});
    c.row({"01", "S", today.addDays(-365)});
    TableWriter g(db, "GRUPOPROR", {"CDGRUPOPROR", "NMGRUPOPROR"});
    g.row({"FIN", "TESOURARIA"});
    TableWriter m(db, "GRUPOPROROPER", {"CDGRUPOPROR", "CDOPERADOR"});
    m.row({"FIN", "ADMIN"});
    m.row({"FIN", "OPER01"});
}

void parameters(Database& db) {
    TableWriter p(db, "PARAMGERAL",
                  {"CDPARGERAL", "CDFILIAL", "IDUTILDTPROC", "IDUTCTRLACES", "CDIDIOMA",
                   "DSPROVNAME", "IDUTLPROCPAG", "IDUTLPROCREC", "IDUTLPROCBCO", "IDCONSORCFIN",
                   "IDEXIBDADORC", "CDPICTPROD", "CDPICTCCTB", "CDPICTCFIN"});
    p.row({"0001", Value(), "S", "S", "PORTUGUES", "SQLITE", "S", "S", "N", "N", "S", "999.999.999",
           "9.9.9.99.999", "99.99.99"});
    TableWriter g(db, "GERALPAG",
                  {"CDGERALPAG", "QTDIAANTBOLP", "QTDIAAPOBOLP", "IDHABIBOLE", "IDUTLNFDEVOL",
                   "IDUTCTRLCANREMP"});
    g.row({"1", Value(5), Value(10), "S", "S", "S"});
}

}  // namespace

int demoSupplierCount() {
    return static_cast<int>(std::size(kSuppliers));
}

std::string demoSupplierCode(int n) {
    char code[32];
    std::snprintf(code, sizeof code, "%021d", n);
    return code;
}

void seedReference(Database& db, Date today) {
    companies(db);
    banks(db);
    settlementTypes(db);
    accounts(db);
    adjustmentsAndReasons(db);
    suppliers(db);
    supplierAccountsAndKeys(db);
    operators(db, today);
    parameters(db);
}

}  // namespace pag::server
