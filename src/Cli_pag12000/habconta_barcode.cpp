// The barcode and the digitable line of a boleto on the payment page: the field check
// digits of the line, the barcode derived from the line (or the line from the barcode),
// a barcode already carried by another boleto or an anticipation, and the value the
// barcode encodes against the boleto's values.
#include <cmath>
#include <cstdint>

#include "Cli_pag12000/habconta.h"
#include "Cli_pag12000/habconta_internal.h"
#include "contracts/client/vd_codigo_barras.h"
#include "contracts/lib02800.h"
#include "platform/format.h"
#include "platform/scoped.h"
#include "platform/ui/abort.h"

namespace pag {

namespace {

// Part of a text from a 1-based position; empty past its end (as the line is read).
std::string parte(const std::string& text, size_t posicao, size_t tamanho) {
    if (posicao < 1 || posicao > text.size()) return {};
    return text.substr(posicao - 1, tamanho);
}

// A collection slip's line has 48 digits and carries no field check digits here.
constexpr size_t kDigitosArrecadacao = 48;

// The key of the first failure of fields 1 to 3 of a line (data, then its check
// digit), or null when they hold.
const char* erroCamposLinha(const std::string& digitos) {
    struct Campo {
        size_t inicio, tamanho;
        const char* chave;
    };
    static constexpr Campo kCampos[] = {{1, 9, "DAC_1"}, {11, 10, "DAC_2"}, {22, 10, "DAC_3"}};
    for (const Campo& c : kCampos) {
        const std::string dados = parte(digitos, c.inicio, c.tamanho);
        if (parte(digitos, c.inicio + c.tamanho, 1) != std::string(1, Mod10(dados))) return c.chave;
    }
    for (const Campo& c : kCampos)
        if (parte(digitos, c.inicio, c.tamanho).empty()) return "LINHA_INV";
    return nullptr;
}

// The barcode's value digits mean "no value" when all zero.
constexpr const char* kSemValor = "0000000000";

int64_t centavos(double valor) {
    return std::llround(RoundDec(valor, 2) * 100);
}

std::string dinheiro(double valor) {
    return formatFloat("#,##0.00", RoundDec(valor, 2));
}

}  // namespace

void TfrmHabConta::edtCdBarraKeyPress(KeyChar&) {
    if (cdsBoletos.State() == DataSetState::Browse) cdsBoletos.Edit();
}

void TfrmHabConta::dbeLinhBarPagExit() {
    if (!editando(cdsBoletos)) return;
    auto& linha = Get<DBEdit>("dbeLinhBarPag");
    if (EmptyString(linha.Text())) return;
    focaSeParar("dbeLinhBarPag", [&] {
        cdsBoletos.FieldByName("DSLINHBARPAG").SetAsString(linha.Text());
        const std::string digitos = Nr_Codigo(linha.Text());
        if (digitos.size() > kDigitosArrecadacao) MensErro(Ui(), msgPadrao.Msg("LINHA_INVALIDA"));
        if (digitos.size() < kDigitosArrecadacao) {
            if (const char* erro = erroCamposLinha(digitos)) MensErro(Ui(), msgPadrao.Msg(erro));
        }
        const std::string barra = CodigoBarras(digitos, kLinhaPorTamanho);
        Vd_CodigoBarras(Ui(), barra);
        Get<Edit>("edtCdBarra").SetText(barra);
    });
    // A barcode already taken leaves the focus where Vd_BarraPag put it (the barcode);
    // taking it back to the line would check the barcode a second time.
    Vd_BarraPag();
}

void TfrmHabConta::edtCdBarraExit() {
    if (!editando(cdsBoletos)) return;
    auto& barra = Get<Edit>("edtCdBarra");
    if (EmptyString(barra.Text())) return;
    focaSeParar("edtCdBarra", [&] {
        const std::string codigo = barra.Text();
        cdsBoletos.FieldByName("CDBARRAPAG").SetAsString(codigo);
        Vd_CodigoBarras(Ui(), codigo);
        Vd_BarraPag();
        if (EmptyString(Get<DBEdit>("dbeLinhBarPag").Text()))
            cdsBoletos.FieldByName("DSLINHBARPAG").SetAsString(TransformaBarraLinhaDigi(codigo));
        const std::string limpo = AllTrim(codigo);
        if (limpo.front() == '8') return;  // a collection slip's value is not compared
        const std::string valor = parte(limpo, 10, 10);
        if (valor != kSemValor)
            Vd_ValorBolImp(valor, cdsBoletos.FieldByName("CDFORNECED").AsString());
    });
}

void TfrmHabConta::Vd_BarraPag() {
    auto& barra = Get<Edit>("edtCdBarra");
    if (EmptyString(barra.Text())) return;
    std::vector<Value> args{Value(medEmpresa.Text()), Value(barra.Text())};
    carregaDoServidor(cdsVd_BarraPag, "GetVd_BarraPag", args, {});
    if (cdsVd_BarraPag.IsEmpty()) return;
    const bool antecipacao = cdsVd_BarraPag.FieldByName("IDANTECIPA").AsString() == "1";
    const std::string proprio = filialAtual() + lancamentoAtual();
    const std::string achado = cdsVd_BarraPag.FieldByName("CDFILIAL").AsString() +
                               cdsVd_BarraPag.FieldByName("NRLANBOLPAG").AsString();
    if (proprio == achado && !antecipacao) return;

    MostraPagina(Get<Page>("tshDadosPag"));
    {
        // Leaving the line for the barcode must not check the line again.
        auto& linha = Get<DBEdit>("dbeLinhBarPag");
        ScopedAssign<Handler> quieto(linha.OnExit, nullptr);
        barra.SetFocus();
    }
    const std::string texto =
        fillMessage(msgPadrao.Msg(antecipacao ? "Vd_BarraPagAnt" : "Vd_BarraPag"),
                    {dinheiro(cdsVd_BarraPag.FieldByName("VRFINALBPAG").AsFloat()),
                     cdsVd_BarraPag.FieldByName("NMRAZSOCFORN").AsString(),
                     cdsVd_BarraPag.FieldByName("DTVENBOLPAG").AsDateTime().toString()});
    MensErro(Ui(), texto);
}

void TfrmHabConta::Vd_ValorBolImp(const std::string& valueDigits, const std::string& supplier) {
    // Ten digits of cents always fit: no barcode value is refused for its size.
    int64_t valorBarra = 0;
    for (char c : Nr_Codigo(valueDigits))
        valorBarra = valorBarra * 10 + (c - '0');
    qryPesqBoniForn.Close();
    qryPesqBoniForn.ParamByName("CDFORNECED").SetAsString(supplier);
    qryPesqBoniForn.Open();
    const double final = cdsBoletos.FieldByName("VRFINALBPAG").AsFloat();
    const double original = cdsBoletos.FieldByName("VRBOLPAG").AsFloat();
    if (valorBarra == centavos(final) || valorBarra == centavos(original)) return;
    auto texto = [&](const char* chave) {
        return fillMessage(msgPadrao.Msg(chave),
                           {formatFloat("#,##0.00", static_cast<double>(valorBarra) / 100),
                            dinheiro(final), dinheiro(original)});
    };
    // A supplier who grants a discount on the slip may be paid a different value.
    const bool desconto = !qryPesqBoniForn.IsEmpty() &&
                          qryPesqBoniForn.FieldByName("IDTPDESCFORN").AsString() == "B" &&
                          qryPesqBoniForn.FieldByName("VRPEDESCFORN").AsFloat() > 0;
    if (!desconto) MensErro(Ui(), texto("Bloq_VrBolBar<>VrBolSis"));
    if (!Ui().ask(texto("Alert_VrBolBar<>VrBolSis"))) {
        Get<Edit>("edtCdBarra").SetFocus();
        throw SilentAbort();
    }
}

}  // namespace pag
