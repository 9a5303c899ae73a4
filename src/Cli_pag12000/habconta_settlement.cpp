// The settlement type of a boleto ("Tipo de Baixa"): its lookup and validation with
// the bank rules and the DOC value limit, and the checks of the fine and daily-interest
// fields of the payment page.
#include "Cli_pag12000/habconta.h"
#include "Cli_pag12000/habconta_internal.h"
#include "platform/format.h"
#include "platform/ui/abort.h"
#include "platform/ui/db_controls.h"

namespace pag {

namespace {

// The value above which a DOC is refused when the settlement type sets no limit.
constexpr double kLimiteDocPadrao = 5000.00;

}  // namespace

void TfrmHabConta::ligaEventosDadosPagTipoBaixa() {
    auto& tipo = Get<LookupButton>("btnTipoBaixa");
    tipo.BeforePesq = [this](bool&) { btnTipoBaixaBeforePesq(); };
    tipo.AfterPesq = [this] { btnTipoBaixaAfterPesq(); };
    auto& codigo = Get<DBEdit>("dbeCdTpBaixa");
    codigo.OnChange = [this] { dbeCdTpBaixaChange(); };
    codigo.OnExit = [this] { dbeCdTpBaixaExit(); };
    const std::pair<const char*, std::pair<const char*, const char*>> valores[] = {
        {"dbePeMulta", {"P", "MU"}},
        {"dbeVrMulta", {"V", "MU"}},
        {"dbePeMora", {"P", "MO"}},
        {"dbeVrMora", {"V", "MO"}}};
    for (const auto& [nome, par] : valores)
        Get<DBEdit>(nome).OnExit = [this, kind = std::string(par.first),
                                    which = std::string(par.second)] {
            Vd_DadoBoleto(kind, which);
        };
}

void TfrmHabConta::Vd_TipoBaixa(bool report) {
    if (!editando(cdsBoletos)) return;
    auto& codigo = Get<DBEdit>("dbeCdTpBaixa");
    try {
        cdsBoletos.FieldByName("CDTPBAIXAPAG").SetAsString(Ajusta(codigo.Text(), 2));
        if (codigo.Text().empty()) {
            if (report) MensErro(Ui(), msgPadrao.Msg("TPBX_INF"));
            return;
        }
        codigo.SetText(Ajusta(codigo.Text(), 2));
        qryVdTipoBaixa.Close();
        qryVdTipoBaixa.ParamByName("CDTPBAIXAPAG").SetAsString(codigo.Text());
        qryVdTipoBaixa.Open();
        if (qryVdTipoBaixa.IsEmpty()) MensErro(Ui(), msgPadrao.Msg("TPBX_N_CAD"));
        for (const char* campo : {"CDTPBAIXAPAG", "NMTPBAIXAPAG", "IDBAIXAUTILP"})
            cdsBoletos.FieldByName(campo).SetAsString(qryVdTipoBaixa.FieldByName(campo).AsString());
        Habilita_CompTpBaixa();
        if (!report) return;
        const std::string bancoPagamento = cdsBoletos.FieldByName("CDBANCO").AsString();
        const std::string bancoFavorecido = cdsBoletos.FieldByName("CDBANCBOLP").AsString();
        if (bancoPagamento.empty() || bancoFavorecido.empty()) return;
        const std::string oper = cdsBoletos.FieldByName("IDBAIXAUTILP").AsString();
        const bool mesmoBanco = cdsBoletos.FieldByName("CDBANCCNAB").AsString() == bancoFavorecido;
        if (!mesmoBanco && oper == "C") MensErro(Ui(), msgPadrao.Msg("TPBX_N_CC"));
        if (mesmoBanco && (oper == "D" || oper == "T" || oper == "S"))
            MensErro(Ui(), msgPadrao.Msg("TPBX_N_DOC"));
        double limite = qryVdTipoBaixa.FieldByName("VRMAXDOCCNAB").AsFloat();
        if (limite == 0) limite = kLimiteDocPadrao;
        if (oper == "D" && cdsBoletos.FieldByName("VRFINALBPAG").AsFloat() > limite)
            MensErro(Ui(), fillMessage(msgPadrao.Msg("DOC_N_TP"),
                                       {formatFloat("#,##0.00", RoundDec(limite, 2))}));
    } catch (const SilentAbort&) {
        codigo.SetFocus();
        throw;
    }
}

void TfrmHabConta::btnTipoBaixaBeforePesq() {
    VdNFBloqueada(true);
    qryPesqTbBaixa.Close();
    qryPesqTbBaixa.Open();
}

void TfrmHabConta::btnTipoBaixaAfterPesq() {
    if (cdsBoletos.State() == DataSetState::Browse) cdsBoletos.Edit();
    for (const char* campo : {"CDTPBAIXAPAG", "NMTPBAIXAPAG", "IDBAIXAUTILP"})
        cdsBoletos.FieldByName(campo).SetAsString(qryPesqTbBaixa.FieldByName(campo).AsString());
    Habilita_CompTpBaixa();
}

void TfrmHabConta::dbeCdTpBaixaChange() {
    if (editando(cdsBoletos)) cdsBoletos.FieldByName("NMTPBAIXAPAG").Clear();
}

void TfrmHabConta::dbeCdTpBaixaExit() {
    Vd_TipoBaixa(false);
}

void TfrmHabConta::Vd_DadoBoleto(const std::string& kind, const std::string& which) {
    if (!editando(cdsBoletos)) return;
    struct Regra {
        const char *kind, *which, *campo, *controle, *chave;
    };
    static constexpr Regra regras[] = {{"P", "MU", "VRPEMULBPAG", "dbePeMulta", "P_MU_NEGA"},
                                       {"P", "MO", "VRPEMORBPAG", "dbePeMora", "P_MO_NEGA"},
                                       {"V", "MU", "VRMULTABPAG", "dbeVrMulta", "V_MU_NEGA"},
                                       {"V", "MO", "VRMORDIABPAG", "dbeVrMora", "V_MO_NEGA"}};
    for (const Regra& r : regras) {
        if (kind != r.kind || which != r.which) continue;
        if (cdsBoletos.FieldByName(r.campo).AsFloat() < 0) {
            Get<DBEdit>(r.controle).SetFocus();
            MensErro(Ui(), msgPadrao.Msg(r.chave));
        }
    }
}

}  // namespace pag
